#include "settings/UnitDisplay.h"

#include <array>
#include <cstdio>

namespace orb {

namespace {

constexpr std::string_view Unknown = "?";

struct LinkLook {
    std::string_view caption;
    LabelColour colour;
    bool portEnabled;
    std::string_view button;
    bool eepromButtons;
};

// Indexed by LinkState. Only an accepted unit may be read or written; a refused one only let go.
constexpr std::array<LinkLook, 3> LinkLooks{{
    {"Neaktivní", LabelColour::Red, true, ActivateCaption, false},
    {"Aktivní", LabelColour::Blue, false, DeactivateCaption, true},
    {"Chybné zařízení", LabelColour::Blue, false, DeactivateCaption, false},
}};

/// "150 byte"; a memory size is right-aligned in 11 characters ("  2048 byte"), as the label shows it.
std::string byteCaption(int number, int width = 0) {
    char caption[32];
    std::snprintf(caption, sizeof caption, "%*d byte", width, number);
    return caption;
}

template <typename Value, typename Caption>
std::string captionOr(const std::optional<Value>& value, Caption caption) {
    return value ? caption(*value) : std::string(Unknown);
}

} // namespace

void ShowUnitState(const UnitState& unit, int imageUsage, FormDisplay& display) {
    display.lblInfoProdukt = unit.product.value_or(std::string(Unknown));
    display.lblInfoVerze = captionOr(unit.version, [](const FirmwareVersion& version) {
        return std::to_string(version.major) + "." + std::to_string(version.minor);
    });
    display.lblInfoModem = unit.modem.value_or(std::string(Unknown));
    display.lblInfoPamSize = captionOr(unit.memoryBytes, [](int bytes) { return byteCaption(bytes, 6); });
    display.lblInfoPamUsage = byteCaption(imageUsage);
    const std::optional<int> free =
        unit.memoryBytes ? std::optional<int>(*unit.memoryBytes - imageUsage) : std::nullopt;
    display.lblInfoPamFree = captionOr(free, [](int bytes) { return byteCaption(bytes); });
    display.lblInfoPamFreeColour = free.value_or(0) < 0 ? LabelColour::Red : LabelColour::Blue;

    const LinkLook& look = LinkLooks[static_cast<std::size_t>(unit.link)];
    display.tabDeAktivNapis = look.caption;
    display.tabDeAktivNapisColour = look.colour;
    display.tabPortEnabled = look.portEnabled;
    display.btDEA = look.button;
    display.btEEPROMLoadEnabled = look.eepromButtons;
    display.btEEPROMSaveEnabled = look.eepromButtons;
}

} // namespace orb
