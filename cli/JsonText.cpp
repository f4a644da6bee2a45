#include "cli/JsonText.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace orb {

namespace {

constexpr std::size_t EchoedKeyLength = 40;

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

/// Says where the byte at the offset stands, as an editor counts: lines and characters from 1.
std::string position(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const std::size_t from = lineStart == std::string::npos || lineStart >= offset ? 0 : lineStart + 1;
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(from), '\n');
    const auto column = 1 + std::count_if(text.begin() + static_cast<std::ptrdiff_t>(from),
                                          text.begin() + static_cast<std::ptrdiff_t>(offset),
                                          [](char byte) { return !continuesCharacter(byte); });
    return "na řádku " + std::to_string(line) + ", ve sloupci " + std::to_string(column);
}

} // namespace

Json ParseSettingsJson(const std::string& text) {
    std::vector<std::set<std::string>> keysOfOpenObjects;
    std::string repeatedKey;
    const auto watchKeys = [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) {
            keysOfOpenObjects.emplace_back();
        } else if (event == Json::parse_event_t::object_end) {
            keysOfOpenObjects.pop_back();
        } else if (event == Json::parse_event_t::key && repeatedKey.empty() &&
                   !keysOfOpenObjects.back().insert(parsed.get<std::string>()).second) {
            repeatedKey = parsed.get<std::string>();
        }
        return true;
    };
    Json json;
    try {
        json = Json::parse(text, watchKeys);
    } catch (const Json::parse_error& error) {
        // The library counts the byte it stopped at from 1.
        throw JsonTextError("soubor není platný JSON: chyba " +
                            position(text, error.byte == 0 ? 0 : error.byte - 1) + ".");
    } catch (const Json::out_of_range&) { // a number beyond any type, such as 1e999
        throw JsonTextError("soubor není platný JSON: obsahuje číslo mimo rozsah.");
    }
    if (!repeatedKey.empty())
        throw JsonTextError("klíč '" + EchoedKey(repeatedKey) + "' je v souboru dvakrát.");
    return json;
}

std::string EchoedKey(const std::string& key) {
    std::string echoed;
    std::size_t characters = 0;
    for (const char byte : key) {
        if (!continuesCharacter(byte) && characters++ == EchoedKeyLength) return echoed + "…";
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 || code == 0x7F) {
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", code);
            echoed += escaped;
        } else {
            echoed += byte;
        }
    }
    return echoed;
}

} // namespace orb
