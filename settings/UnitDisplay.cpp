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

std::string byteCaption(int number, int width) {
    char caption[32];
    std::snprintf(caption, sizeof caption, "%*d byte", width, number);
    return caption;
}

template <typename Value, typename Caption>
std::string captionOr(const std::optional<Value>& value, Caption caption) {
    return value ? caption(*value) : std::string(Unknown);
}

} // namespace

std::string ByteCaption(int bytes) {
    return byteCaption(bytes, 0);
}

std::string MemorySizeCaption(int bytes) {
    return byteCaption(bytes, 6);
}

UnitWords DescribeUnit(const UnitState& unit) {
    auto version = [](const FirmwareVersion& v) {
        return std::to_string(v.major) + "." + std::to_string(v.minor);
    };
    return {unit.product.value_or(std::string(Unknown)), captionOr(unit.version, version),
            captionOr(unit.memoryBytes, ByteCaption), unit.modem.value_or(std::string(Unknown))};
}

void ShowUnitState(const UnitState& unit, int imageUsage, FormDisplay& display) {
    const UnitWords words = DescribeUnit(unit);
    display.lblInfoProdukt = words.product;
    display.lblInfoVerze = words.firmware;
    display.lblInfoModem = words.modem;
    display.lblInfoPamSize = captionOr(unit.memoryBytes, MemorySizeCaption);
    display.lblInfoPamUsage = ByteCaption(imageUsage);
    const std::optional<int> free =
        unit.memoryBytes ? std::optional<int>(*unit.memoryBytes - imageUsage) : std::nullopt;
    display.lblInfoPamFree = captionOr(free, ByteCaption);
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
