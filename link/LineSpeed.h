#pragma once

namespace orb {

/// The unit's line: 19,200 bit/s, and every byte takes ten bits on it (start bit, 8 data bits, stop bit).
inline constexpr int LineBitsPerSecond = 19'200;
inline constexpr int LineBitsPerByte = 10;

/// Returns how long the bytes take on the line, in seconds.
constexpr double LineSeconds(long long bytes) {
    return static_cast<double>(bytes) * LineBitsPerByte / LineBitsPerSecond;
}

} // namespace orb
