#pragma once

#include <functional>

namespace orb {

/// The system's ioctl as a value, so that a test can stand in for the serial driver.
using IoctlCall = std::function<int(int fd, unsigned long request, void* argument)>;

/// Calls the system's ioctl.
int SystemIoctl(int fd, unsigned long request, void* argument);

/// Asks the serial driver behind fd to pass each received byte on at once (ASYNC_LOW_LATENCY) instead of
/// holding it for its latency timer, as USB adapters do for up to 16 ms: with one wait a reply, a read of
/// 256 blocks would take twice as long. Returns whether the driver took it. A driver without the setting
/// (a pseudo-terminal answers ENOTTY) refuses; that leaves the port as it was and is no error.
bool RequestLowLatency(int fd, const IoctlCall& ioctl = SystemIoctl);

} // namespace orb
