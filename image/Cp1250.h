#pragma once

#include <optional>
#include <string>

namespace orb {

/// Converts a UTF-8 text to one Windows-1250 byte per character; throws EncodingError for a character
/// without a code or for malformed UTF-8. The five bytes the code page leaves undefined stand for
/// U+0081, U+0083, U+0088, U+0090 and U+0098, so every byte survives a round trip.
std::string Utf8ToCp1250(const std::string& text);

/// Returns the first character of a UTF-8 text that Windows-1250 has no code for, or nothing when every
/// character has one; a malformed sequence counts as U+FFFD, which has no code either.
std::optional<char32_t> FirstCharacterWithoutCp1250Code(const std::string& text);

/// Appends a character to a UTF-8 text.
void AppendUtf8(std::string& text, char32_t character);

/// Converts Windows-1250 bytes to UTF-8; every byte has a character.
std::string Cp1250ToUtf8(const std::string& bytes);

} // namespace orb
