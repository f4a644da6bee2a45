#pragma once

#include <string>

namespace orb {

/// Encodes a telephone number as the hexadecimal text of a GSM address field: length, type of address
/// ("91" after a leading '+', else "81"), digit pairs swapped, 'F' filler for an odd count.
/// An empty number encodes as "00". Any character other than a leading '+' is moved as a digit.
std::string EncodePhoneNumber(const std::string& number);

/// Decodes the text EncodePhoneNumber makes. Throws TypeMismatch when the length field (characters 1-2)
/// is not two hexadecimal digits; positions beyond the end of the text yield nothing.
std::string DecodePhoneNumber(const std::string& encoded);

} // namespace orb
