#pragma once

#include <array>
#include <cstdint>

namespace orb {

/// Reads a hex pair, low-nibble digit first; digits in either case. Throws TypeMismatch for a non-digit.
std::uint8_t HexPairToByte(std::uint8_t lowDigit, std::uint8_t highDigit);
/// Writes a byte as a hex pair, low-nibble digit first, upper case ("3A" travels as 'A', '3').
std::array<std::uint8_t, 2> ByteToHexPair(std::uint8_t value);
/// True for '0'..'9', 'A'..'F', 'a'..'f'.
bool IsHexDigit(std::uint8_t character);

} // namespace orb
