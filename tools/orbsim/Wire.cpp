#include "tools/orbsim/Wire.h"

#include <cerrno>
#include <system_error>
#include <time.h>
#include <unistd.h>

namespace orb::sim {

std::int64_t NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

void SleepUntilNs(std::int64_t deadline) {
    const timespec until{static_cast<time_t>(deadline / 1'000'000'000),
                         static_cast<long>(deadline % 1'000'000'000)};
    // Absolute deadlines keep the pace from drifting with the time each write takes.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

void WriteAll(int fd, const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::system_error(errno, std::generic_category(), "write to the pseudo-terminal");
        done += static_cast<std::size_t>(n);
    }
}

void WritePaced(int fd, const Bytes& bytes, std::int64_t startNs) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        SleepUntilNs(startNs + WireTimeNs(i + 1));
        WriteAll(fd, Bytes{bytes[i]});
    }
}

} // namespace orb::sim
