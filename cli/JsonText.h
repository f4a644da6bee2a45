#pragma once

#include "cli/SettingsJson.h"

#include <stdexcept>
#include <string>

namespace orb {

/// A settings file that is not JSON as import reads it; what() says in Czech where and why.
class JsonTextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// Parses the text of a settings JSON file. Besides JSON's own syntax it refuses an object that holds a
/// key twice: the later value would silently win over the one the technician may have meant. Throws
/// JsonTextError naming the line and column of a syntax error, or the repeated key.
Json ParseSettingsJson(const std::string& text);

/// Returns a key from a file as far as it may be echoed to the terminal: control characters written as
/// \uXXXX, and only its first 40 characters followed by "…" when it goes on, so that a stray megabyte
/// of key or an escape sequence in it reaches the terminal as plain, short text.
std::string EchoedKey(const std::string& key);

} // namespace orb
