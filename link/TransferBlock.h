#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orb {

/// One frame as the link builds or receives it. A request grows byte by byte; a received block holds
/// everything that arrived (checksum and terminator too) and count is its payload length, 0 for no reply.
struct TransferBlock {
    static constexpr std::size_t Capacity = 101;
    /// Ends every frame; the protocol keeps the byte out of payloads and checksums.
    static constexpr std::uint8_t Terminator = 13;

    std::array<std::uint8_t, Capacity> data{};
    int count = 0;

    /// Starts a request with its command code.
    static TransferBlock request(std::uint8_t code);
    /// Appends one payload byte; throws std::out_of_range when the block is full.
    void append(std::uint8_t byte);
    /// Appends a byte as its hex pair, low-nibble digit first.
    void appendHexPair(std::uint8_t value);
    /// Returns the payload bytes 0..count-1.
    std::span<const std::uint8_t> payload() const { return {data.data(), static_cast<std::size_t>(count)}; }
    /// Returns the code byte; meaningful only while count is not 0 (a bad reply keeps what arrived).
    std::uint8_t code() const { return data[0]; }
    /// Tells whether positions first..last all hold hexadecimal digits.
    bool hexDigitsAt(int first, int last) const;
    /// Reads the hex pair at position, low-nibble digit first; throws TypeMismatch for a non-digit.
    std::uint8_t hexPairAt(int position) const;
};

/// Computes the frame checksum of a payload: (sum + 1) mod 256, and 12 where that would give the
/// terminator 13.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> payload);

} // namespace orb
