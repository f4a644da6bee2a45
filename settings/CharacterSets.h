#pragma once

#include <string_view>

namespace orb {

// The characters the unit accepts in its words. The order matters only because the messages quote the
// sets verbatim.
inline constexpr std::string_view DigitChars = "0123456789";
inline constexpr std::string_view PhoneChars = "+0123456789";
inline constexpr std::string_view CommandChars =
    "_0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
/// Printable ASCII without the double quote and the tilde.
inline constexpr std::string_view InputTextChars =
    " `!@#$%^&*()-_=+\\|[{]};:',<.>/?0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
/// Printable ASCII without the double quote.
inline constexpr std::string_view MessageTextChars =
    " !#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]\\^_`abcdefghijklmnopqrstuvwxyz{}|~";

static_assert(CommandChars.size() == 63);
static_assert(InputTextChars.size() == 93);
static_assert(MessageTextChars.size() == 94);

/// The unit's own command words, English and Czech; no user word may equal one or begin one.
inline constexpr std::string_view ReservedKeywords =
    "STATE;STAV;BACK;NOBACK;RESET;SHUTDOWN;NAME;ZPET;NEZPET;JMENO";

} // namespace orb
