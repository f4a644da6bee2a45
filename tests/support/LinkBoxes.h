#pragma once

#include "common/Prompter.h"

#include <string>

namespace orb::test {

inline Message Box(const std::string& title, const std::string& text, MessageIcon icon,
                   MessageButtons buttons = MessageButtons::Ok) {
    return {title, text, icon, buttons};
}

/// The boxes of an activation, read and write that go well, written out as the user reads them.
inline const std::string LoadTitle = "ORB - Načítání dat z EEPROM do PC";
inline const std::string SaveTitle = "ORB - Ukládání dat z PC do EEPROM";
inline const Message PressButton =
    Box("ORB - Aktivování spojení",
        "Na zařízení stiskněte tlačítko 'A1 VYP' a vyčkejte, než zelená LED 'STATUS' přestane blikat a bude "
        "svítit trvale. Poté potvrďte 'OK'.",
        MessageIcon::Information);
inline const Message ReadDone =
    Box(LoadTitle, "Data byla úspěšně načtena z EEPROM.", MessageIcon::Information);
inline const Message NotProgrammed =
    Box(LoadTitle, "Data nebyla úspěšně načtena z EEPROM. EEPROM zřejmě není naprogramována.",
        MessageIcon::Exclamation);
inline const Message WriteDone =
    Box(SaveTitle, "Data byla úspěšně uložena do EEPROM.", MessageIcon::Information);
/// The question a deactivation without the unit's reply asks.
inline const Message DeactivationQuestion =
    Box("Deaktivace spojení",
        "Při deaktivaci spojení došlo k chybě. Zařízení je zřejmě stále v programovacím módu. Mám přesto "
        "přejít do 'Neaktivního stavu'?",
        MessageIcon::Critical, MessageButtons::YesNo);

} // namespace orb::test
