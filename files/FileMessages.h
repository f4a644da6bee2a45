#pragma once

#include "image/conversion/SettingsConversion.h"

#include <string>

namespace orb::file_messages {

inline const std::string SaveTitle = "ORB - Ukládání souboru";
inline const std::string LoadTitle = "ORB - Načítání souboru";
inline const std::string OverwriteTitle = "Ukládání";

inline const std::string SignatureFailed = "Nastala chyba při převodu dat.";
inline const std::string EncodeFailed =
    "Nastala chyba při převodu dat. Nastavení obsahuje hodnotu, kterou nelze převést.";
/// Why a save refused settings that did not become an image fit to go out.
inline const std::string& encodeRefusal(EncodeFault fault) {
    return fault == EncodeFault::Value ? EncodeFailed : SignatureFailed;
}
inline const std::string OverwriteQuestion = "Tento soubor již existuje. Mám ho přepsat?";
inline const std::string ExitTitle = "ORB - ukončení programu";
inline const std::string UnsavedQuestion = "Nastavení bylo změněno a není uloženo. Uložit je do souboru?";

inline std::string saving(const std::string& name) {
    return "Ukládám nastavení do souboru '" + name + "'.";
}
inline std::string saveFailed(const std::string& name) {
    return "Při ukládání nastavení programu do souboru '" + name + "' nastala chyba.";
}
/// Why a path cannot be saved to; each sentence follows the save's own message.
inline const std::string FileReadOnly = "Nemáte právo do souboru zapisovat.";
inline const std::string TargetIsFolder = "Je to složka, ne soubor.";
inline const std::string TargetOfOtherKind = "Není to soubor, znakové zařízení ani roura.";
inline const std::string TargetNotAFile = "Je to zařízení nebo roura, ne obyčejný soubor.";
inline const std::string ReadOnlyDisk = "Disk je připojen jen pro čtení.";
inline const std::string LinkLoop = "Symbolické odkazy tvoří smyčku.";
inline std::string folderReadOnly(const std::string& folder) {
    return "Nemáte právo zapisovat do složky '" + folder + "'.";
}
inline std::string folderMissing(const std::string& folder) {
    return "Složka '" + folder + "' neexistuje.";
}
inline std::string foreignLink(const std::string& folder) {
    return "Je to symbolický odkaz ve sdílené složce '" + folder +
           "', který patří jinému uživateli; program ho nenásleduje.";
}
inline std::string notAFolder(const std::string& folder) {
    return "'" + folder + "' není složka.";
}
/// The save's message followed by the reason the target refused it.
inline std::string saveRefused(const std::string& name, const std::string& reason) {
    return saveFailed(name) + " " + reason;
}

inline std::string loading(const std::string& name) {
    return "Načítám nastavení ze souboru '" + name + "'.";
}
inline std::string loadFailed(const std::string& name) {
    return "Při načítání nastavení programu ze souboru '" + name + "' nastala chyba.";
}
inline std::string loaded(const std::string& name) {
    return "Data ze souboru '" + name + "' byla úspěšně načtena.";
}
/// The box after a load whose values break their fields' rules; each line is one value (OutOfRuleText).
inline std::string outOfRule(const std::string& lines) {
    return "Některé hodnoty v souboru pravidla polí nepovolují:\n\n" + lines +
           "\n\nNastavení zůstává, jak bylo načteno; tyto hodnoty opravte, než nastavení uložíte do "
           "zařízení.";
}
inline std::string notAnImage(const std::string& name) {
    return "Data v souboru '" + name + "' nejsou v pořádku - neodpovídají formátu EEPROM.";
}

} // namespace orb::file_messages
