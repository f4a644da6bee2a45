#pragma once

#include <string>
#include <string_view>

namespace orb::print_messages {

inline constexpr std::string_view Title = "ORB - Tisk nastavení";
inline std::string printFailed(std::string_view cause) {
    return "Nastavení se nepodařilo vytisknout: " + std::string(cause);
}
inline std::string cannotOpenFile(std::string_view path) {
    return "soubor '" + std::string(path) + "' nelze otevřít.";
}

} // namespace orb::print_messages
