#include "link/LinkState.h"

#include <array>
#include <optional>

namespace orb {

namespace {

struct StateLook {
    std::string_view caption;
    LabelColour colour;
    bool portEnabled;
    std::string_view button;
    std::optional<bool> eepromButtons; ///< nothing: left as they are
};

// Indexed by LinkState.
constexpr std::array<StateLook, 3> StateLooks{{
    {"Neaktivní", LabelColour::Red, true, ActivateCaption, false},
    {"Aktivní", LabelColour::Blue, false, DeactivateCaption, true},
    {"Chybné zařízení", LabelColour::Blue, false, DeactivateCaption, std::nullopt},
}};

} // namespace

void SetLinkState(SettingsForm& form, Progress& progress, LinkState state) {
    const StateLook& look = StateLooks[static_cast<std::size_t>(state)];
    FormDisplay display = form.display();
    display.tabDeAktivNapis = look.caption;
    display.tabDeAktivNapisColour = look.colour;
    display.tabPortEnabled = look.portEnabled;
    display.btDEA = look.button;
    if (look.eepromButtons) {
        display.btEEPROMLoadEnabled = *look.eepromButtons;
        display.btEEPROMSaveEnabled = *look.eepromButtons;
    }
    if (state == LinkState::Inactive) {
        display.lblInfoModem = "?";
        display.lblInfoProdukt = "?";
        display.lblInfoVerze = "?";
        display.lblInfoPamSize = "?";
    }
    form.setDisplay(display);
    form.updateImageSize();
    if (state == LinkState::Refused) progress.hideProgress();
}

} // namespace orb
