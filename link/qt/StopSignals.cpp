#include "link/qt/StopSignals.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
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
        // The second signal: whoever sends it will not wait for the unit, so the program ends now. The
        // signal stays blocked until this handler returns, and then ends the process as by default.
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

sigset_t caughtSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : Caught)
        sigaddset(&set, signal);
    return set;
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

    // The kernel hands a signal to a thread that does not block it, preferring the main thread; a main
    // thread that sleeps where only SIGKILL wakes it (a file dialog reading under /proc) would hold the
    // signal, its handler never running, and the second signal could not end the program. So the main
    // thread, and every thread it starts from now on, blocks the signals, and a thread of their own that
    // does nothing but wait takes them.
    const sigset_t caught = caughtSet();
    pthread_sigmask(SIG_BLOCK, &caught, &previousMask_);
    if (::pipe2(quit_, O_CLOEXEC) == 0) {
        receiver_ = std::thread([quitFd = quit_[0], caught] {
            pthread_sigmask(SIG_UNBLOCK, &caught, nullptr);
            char byte = 0;
            while (::read(quitFd, &byte, 1) < 0 && errno == EINTR) {
            }
        });
    }
}

StopSignals::~StopSignals() {
    if (receiver_.joinable()) {
        ::close(quit_[1]); // the receiving thread reads the end of the pipe and ends
        receiver_.join();
        ::close(quit_[0]);
    }
    for (std::size_t i = 0; i < std::size(Caught); ++i)
        sigaction(Caught[i], &previous_[i], nullptr);
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
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
