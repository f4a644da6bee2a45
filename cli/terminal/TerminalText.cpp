#include "cli/terminal/TerminalText.h"

#include "cli/terminal/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace orb {

namespace {

/// Returns the code of a control character at the offset (C0, DEL, or C1, which UTF-8 writes C2 80..9F).
std::optional<unsigned> controlCode(std::string_view text, std::size_t offset, std::size_t length) {
    const auto first = static_cast<std::uint8_t>(text[offset]);
    if (length == 1 && (first < 0x20 || first == 0x7F)) return first;
    if (length == 2 && first == 0xC2 && static_cast<std::uint8_t>(text[offset + 1]) < 0xA0)
        return static_cast<std::uint8_t>(text[offset + 1]);
    return std::nullopt;
}

std::string escaped(const char* format, unsigned code) {
    char text[8];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

} // namespace

std::string TerminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t length = Utf8CharacterLength(text, offset);
        if (length == 0) {
            shown += escaped("\\x%02X", static_cast<std::uint8_t>(text[offset++]));
            continue;
        }
        if (const std::optional<unsigned> control = controlCode(text, offset, length))
            shown += escaped("\\u%04X", *control);
        else
            shown.append(text.substr(offset, length));
        offset += length;
    }
    return shown;
}

std::optional<std::string> FirstControlCharacter(std::string_view text) {
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8CharacterLength(text, offset), 1);
        if (controlCode(text, offset, length)) return TerminalText(text.substr(offset, length));
        offset += length;
    }
    return std::nullopt;
}

} // namespace orb
