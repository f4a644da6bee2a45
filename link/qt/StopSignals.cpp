#include "link/qt/StopSignals.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <QSocketNotifier>
#include <unistd.h>

namespace orb {

namespace {

constexpr int Caught[] = {SIGTERM, SIGHUP, SIGINT};

// A signal handler may only touch lock-free atomics and call async-signal-safe functions such as
// write(2); Qt must not be called there. So the handler notes the signal and writes one byte into a
// pipe, and the event loop, which watches the pipe's other end, runs onStop as an ordinary event. The
// waits of the device link process events, so onStop runs even in the middle of an exchange.
std::atomic<int> received{0};
std::atomic<int> wakeUpFd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void onStopSignal(int signal) {
    int none = 0;
    if (!received.compare_exchange_strong(none, signal)) {
        // The second signal: whoever sends it will not wait for the unit, so the program ends now.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    const int savedErrno = errno;
    if (const int fd = wakeUpFd.load(); fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1); // a full pipe is awake already
    }
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals(std::function<void()> onStop) : onStop_(std::move(onStop)) {
    received = 0;
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeUpFd = pipe_[1];
        notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
            char byte = 0;
            while (::read(pipe_[0], &byte, 1) == 1) {
            }
            if (onStop_) onStop_();
        });
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(Caught); ++i)
        sigaction(Caught[i], &action, &previous_[i]);
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < std::size(Caught); ++i)
        sigaction(Caught[i], &previous_[i], nullptr);
    wakeUpFd = -1;
    notifier_.reset();
    for (const int fd : pipe_)
        if (fd >= 0) ::close(fd);
}

int StopSignals::stopSignal() {
    return received;
}

std::string SignalName(int signal) {
    switch (signal) {
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    case SIGINT:
        return "SIGINT";
    default:
        return "signal " + std::to_string(signal);
    }
}

} // namespace orb
