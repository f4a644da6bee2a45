#pragma once

#include "link/qt/StopSignals.h"

#include <string>
#include <string_view>

namespace orb {

// orbctl's own words where the window has none: a stop by a signal and the time limit of the activation.

inline std::string stoppedBy(int signal) {
    return "Program byl přerušen signálem " + SignalName(signal) + ".";
}

inline std::string noAnswerWithin(int seconds) {
    return "Zařízení neodpovědělo během " + std::to_string(seconds) + " s.";
}

// orbctl's own words where the window has none: a stop by a signal and the time limit of the activation
inline constexpr std::string_view DeactivatedText = "Zařízení bylo deaktivováno.";
inline constexpr std::string_view NotActivatedText = "Zařízení nebylo aktivováno.";
inline constexpr std::string_view StillActiveText = "Zařízení je zřejmě stále v programovacím módu.";

// write --backup
inline std::string backupSavedIn(const std::string& path, int bytes) {
    return "Obsah EEPROM zařízení (" + std::to_string(bytes) + " B) je uložen v souboru '" + path + "'.";
}
inline constexpr std::string_view NothingToBackUp =
    "Zařízení nemá platné nastavení, které by šlo zálohovat; do zařízení se nic nezapíše. Bez zálohy "
    "ho zapíše volba --force.";
inline constexpr std::string_view NothingToBackUpForced =
    "Zařízení nemá platné nastavení, které by šlo zálohovat; zápis pokračuje bez zálohy (--force).";
inline constexpr std::string_view OutOfRuleRefusal =
    "soubor má hodnoty, které pravidla polí nepovolují; do zařízení se nezapíše (zapíše ho volba --force).";
inline std::string restoreHint(const std::string& path) {
    return "Původní obsah zařízení je v souboru '" + path + "'; do zařízení ho vrátí příkaz:";
}

} // namespace orb
