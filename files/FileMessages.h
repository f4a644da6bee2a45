#pragma once

#include <string>

namespace orb::file_messages {

inline const std::string SaveTitle = "ORB - Ukládání souboru";
inline const std::string LoadTitle = "ORB - Načítání souboru";
inline const std::string OverwriteTitle = "Ukládání";

inline const std::string SignatureFailed = "Nastala chyba při převodu dat.";
inline const std::string EncodeFailed =
    "Nastala chyba při převodu dat. Nastavení obsahuje hodnotu, kterou nelze převést.";
inline const std::string OverwriteQuestion = "Tento soubor již existuje. Mám ho přepsat?";
inline const std::string Decoding = "Převádím data ...";

inline std::string saving(const std::string& name) {
    return "Ukládám nastavení do souboru '" + name + "'.";
}
inline std::string saveFailed(const std::string& name) {
    return "Při ukládání nastavení programu do souboru '" + name + "' nastala chyba.";
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
inline std::string notAnImage(const std::string& name) {
    return "Data v souboru '" + name + "' nejsou v pořádku - neodpovídají formátu EEPROM.";
}

} // namespace orb::file_messages
