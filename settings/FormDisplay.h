#pragma once

#include <string>

namespace orb {

enum class LabelColour { Red, Blue };

/// Captions, colours and enabled states of the main window that the rules and the attached unit change.
/// The form derives them; the window only shows them.
struct FormDisplay {
    // Device information ("Informace o připojeném zařízení")
    std::string lblInfoProdukt = "?";
    std::string lblInfoVerze = "?";
    std::string lblInfoModem = "?";
    std::string lblInfoPamSize = "?";
    std::string lblInfoPamUsage = "?";
    std::string lblInfoPamFree = "?";
    LabelColour lblInfoPamFreeColour = LabelColour::Blue;

    // Connection ("Komunikace PC se zařízením")
    std::string tabDeAktivNapis = "Neaktivní";
    LabelColour tabDeAktivNapisColour = LabelColour::Red;
    std::string btDEA = "Aktivovat";
    bool tabPortEnabled = true;
    bool btEEPROMLoadEnabled = false;
    bool btEEPROMSaveEnabled = false;

    // Enabling rules
    bool rtNotAuthorizedEnabled = true; ///< rtNotAuthorized and its label txtNotAuthorized
    bool existEnabled = true;           ///< rtReCall, eeExistTime and their labels
    bool tabKOMUNIKParitaEnabled = false;
    bool tabKOMUNIKFrekvenceEnabled = false;

    bool operator==(const FormDisplay&) const = default;
};

} // namespace orb
