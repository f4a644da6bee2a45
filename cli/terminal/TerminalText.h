#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orb {

/// Returns text from a file, a unit or the system as it may reach a terminal: each control character
/// (C0, DEL and C1, such as ESC or U+009B, which start the terminal's own commands) written as \uXXXX,
/// and each byte that is no UTF-8 as \xNN; everything else as it is. What a script parses (the JSON of
/// export) never goes through it.
std::string TerminalText(std::string_view text);

/// Returns the first control character in the text (C0 with the tab and line breaks, DEL, C1) as
/// TerminalText writes it ("\u001B"); nothing when the text has none.
std::optional<std::string> FirstControlCharacter(std::string_view text);

} // namespace orb
