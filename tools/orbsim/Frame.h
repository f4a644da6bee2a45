#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orb::sim {

using Bytes = std::vector<std::uint8_t>;

/// The byte that ends every frame; the checksum is kept from ever taking this value.
constexpr std::uint8_t FrameEnd = 13;

/// Computes the checksum of a payload: (sum + 1) modulo 256, with 13 replaced by 12.
std::uint8_t FrameChecksum(const Bytes& payload);
/// Builds the wire bytes of a frame: payload, checksum, terminator.
Bytes BuildFrame(const Bytes& payload);
/// Returns the payload of a received frame (terminator included), or nothing when it is too short or its
/// checksum is wrong.
std::optional<Bytes> OpenFrame(const Bytes& frame);
/// Appends a byte as a hex pair, low-nibble digit first.
void AppendHexPair(Bytes& payload, std::uint8_t value);

} // namespace orb::sim
