#pragma once

#include <cstdint>

namespace orb {

/// Returns (sum + 1) mod 256, with 13 replaced by 12: 13 ends a frame on the serial link, so neither a
/// frame's checksum nor the image header's (which travels inside a block) may ever take that value.
constexpr std::uint8_t CarriageReturnFreeChecksum(std::uint32_t sum) {
    const auto checksum = static_cast<std::uint8_t>((sum + 1) % 256);
    return checksum == 13 ? 12 : checksum;
}

} // namespace orb
