#pragma once

#include "tools/orbsim/Frame.h"

#include <cstdint>

namespace orb::sim {

/// Returns the wire time of n bytes at 19,200 bit/s with a start and a stop bit (520.83 µs a byte).
constexpr std::int64_t WireTimeNs(std::size_t bytes) {
    return static_cast<std::int64_t>(bytes) * 10'000'000'000LL / 19'200;
}

/// Returns the monotonic clock in nanoseconds.
std::int64_t NowNs();
/// Sleeps until the monotonic clock reaches this absolute time.
void SleepUntilNs(std::int64_t deadline);
/// Writes all bytes at once; throws std::system_error when the port is gone.
void WriteAll(int fd, const Bytes& bytes);
/// Writes the bytes one by one, each when it would have finished crossing the line that starts at startNs.
void WritePaced(int fd, const Bytes& bytes, std::int64_t startNs);

} // namespace orb::sim
