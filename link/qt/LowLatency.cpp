#include "link/qt/LowLatency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace orb {

int SystemIoctl(int fd, unsigned long request, void* argument) {
    return ::ioctl(fd, request, argument);
}

bool RequestLowLatency(int fd, const IoctlCall& ioctl) {
    serial_struct settings{};
    if (ioctl(fd, TIOCGSERIAL, &settings) != 0) return false;
    if (settings.flags & ASYNC_LOW_LATENCY) return true;
    settings.flags |= ASYNC_LOW_LATENCY;
    return ioctl(fd, TIOCSSERIAL, &settings) == 0;
}

} // namespace orb
