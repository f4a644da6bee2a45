#pragma once

#include <array>
#include <cstdint>

namespace orb {

/// The process-wide 65,536-byte image of the unit's EEPROM. It starts all zero and is never cleared:
/// the encoder, a file load and a unit read write into it; whatever none of them writes keeps its value.
class EepromImage {
  public:
    static constexpr std::int32_t Size = 65536;

    /// Stores one byte; throws SubscriptOutOfRange outside 0..65535 and Overflow for a value outside 0..255.
    void putByte(std::int32_t address, int value);
    /// Reads one byte; throws SubscriptOutOfRange outside 0..65535.
    std::uint8_t getByte(std::int32_t address) const;
    /// Stores an unsigned 16-bit word little-endian (high byte first, at address + 1); throws Overflow for
    /// a value outside 0..65535 or an address + 1 that overflows, SubscriptOutOfRange for a bad address.
    void putWord(std::int64_t value, std::int32_t address);
    /// Reads the little-endian word at address and address + 1.
    int getWord(std::int32_t address) const;

  private:
    std::array<std::uint8_t, Size> bytes_{};
};

/// The header checksum of the image: (sum of bytes 0..25 + 1) mod 256, with 13 replaced by 12.
std::uint8_t HeaderChecksum(const EepromImage& image);
/// True when the word at 24 is the signature 10010 and byte 26 holds the header checksum.
bool CheckImageSignature(const EepromImage& image);

} // namespace orb
