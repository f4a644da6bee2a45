#pragma once

#include "cli/json/SettingsJson.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace orb {

/// A settings file that is not JSON as import reads it; what() says in Czech where and why.
class JsonTextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The most a file can hold that an export could have written: one object of settings, each a value or an
/// array of a row's values.
struct JsonBounds {
    std::size_t maxKeys;        ///< keys of the settings object
    std::size_t maxArrayLength; ///< values of one array
    /// Returns the most characters a text under the key may have, nothing when the key sets no limit.
    std::function<std::optional<int>(const std::string& key)> textLimit;
    int maxTextLength; ///< characters of any text, also under a key that sets no limit
};

/// Returns the bounds of what export writes: its keys, the eight rows of a row setting, each text as long
/// as its field takes.
JsonBounds SettingsJsonBounds();

/// Parses the text of a settings JSON file. Before anything is stored it reads the text once and refuses
/// what no export can be: nesting deeper than an object of arrays, more keys or array values than the
/// bounds allow, a text longer than its setting takes; so time and memory follow the text's size. Besides
/// JSON's own syntax it refuses an object that holds a key twice: the later value would silently win over
/// the one the technician may have meant. Throws JsonTextError naming the line and column of a syntax
/// error, the repeated key or the bound exceeded.
Json ParseSettingsJson(const std::string& text, const JsonBounds& bounds = SettingsJsonBounds());

/// Returns the refusal of a text longer than its field takes: "Text smí mít nejvýše 8 znaků."
std::string TextLengthRefusal(int maxLength);

/// Returns a key from a file as far as it may be echoed to the terminal: as TerminalText, and only its first
/// 40 characters followed by "…" when it goes on, so that a stray megabyte of key or an escape sequence in it
/// reaches the terminal as plain, short text.
std::string EchoedKey(const std::string& key);

} // namespace orb
