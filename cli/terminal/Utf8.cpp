#include "cli/terminal/Utf8.h"

#include <cstdint>

namespace orb {

std::size_t Utf8CharacterLength(std::string_view text, std::size_t offset) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[offset + k]); };
    const std::uint8_t first = byte(0);
    std::size_t length = 0;
    if (first < 0x80)
        length = 1;
    else if (first >= 0xC2 && first < 0xE0)
        length = 2;
    else if (first >= 0xE0 && first < 0xF0)
        length = 3;
    else if (first >= 0xF0 && first < 0xF5)
        length = 4;
    if (length == 0 || offset + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80) return 0;
    return length;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t length = Utf8CharacterLength(text, offset);
        if (length == 0) return false;
        offset += length;
    }
    return true;
}

} // namespace orb
