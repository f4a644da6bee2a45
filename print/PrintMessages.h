#pragma once

#include <string>
#include <string_view>

namespace orb::print_messages {

inline constexpr std::string_view Title = "ORB - Tisk nastavení";
/// The title of the printed report: the file the settings came from, else the station they are for.
inline std::string reportTitle(std::string_view fileName, std::string_view station) {
    const std::string_view named = fileName.empty() ? station : fileName;
    return named.empty() ? "Nastavení ORB" : "Nastavení ORB – " + std::string(named);
}
inline std::string printFailed(std::string_view cause) {
    return "Nastavení se nepodařilo vytisknout: " + std::string(cause);
}
inline std::string cannotOpenFile(std::string_view path) {
    return "soubor '" + std::string(path) + "' nelze otevřít.";
}

} // namespace orb::print_messages
