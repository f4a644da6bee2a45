#pragma once

#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class QSocketNotifier;

namespace orb {

/// Turns SIGTERM, SIGHUP and SIGINT (what `timeout`, a service manager, a dropped remote shell, a logout
/// and Ctrl+C send) into the Storno of the exchange in progress, so that they never leave the unit in
/// programming mode. The first of them is noted for stopSignal() and handed to onStop in the event loop;
/// a second one ends the program at once, as that signal ends a program by default, from a thread of its
/// own, whatever the main thread is doing. One object at a time, made on the main thread; it puts the
/// previous handlers back when it goes. While it lives the main thread blocks the three signals, so one
/// that the main thread raise()s at itself waits until then (`kill` reaches the program), and a program
/// started from it inherits the block: a signal sent to it waits until it catches the signals itself
/// (orbctl's series workers do; start no other program meanwhile).
class StopSignals {
  public:
    /// Catches the three signals; onStop, when given, runs on the user-interface thread after the first.
    explicit StopSignals(std::function<void()> onStop = {});
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    /// Runs onStop, from now on, after the first signal; one that came before and was not handed to the
    /// earlier onStop yet is handed to this one at the next turn of the event loop.
    void setOnStop(std::function<void()> onStop) { onStop_ = std::move(onStop); }

    /// Returns the first signal received, or 0 while none came.
    static int stopSignal();

  private:
    std::function<void()> onStop_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_[3] = {};
    sigset_t previousMask_ = {};
    int quit_[2] = {-1, -1}; ///< closing the write end ends receiver_
    std::thread receiver_;   ///< the one thread that takes the signals
};

/// Names a stop signal as the user knows it: "SIGTERM", "SIGHUP" or "SIGINT".
std::string SignalName(int signal);

} // namespace orb
