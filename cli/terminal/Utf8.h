#pragma once

#include <cstddef>
#include <string_view>

namespace orb {

/// Returns how many bytes the UTF-8 character starting at the offset has, or 0 when none starts there
/// (a stray continuation byte, a cut or overlong sequence).
std::size_t Utf8CharacterLength(std::string_view text, std::size_t offset);

/// Tells whether the whole text is UTF-8.
bool IsUtf8(std::string_view text);

} // namespace orb
