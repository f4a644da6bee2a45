// The stop signals of the program, in a child process: the first is noted, the second ends the program.
#include "link/qt/StopSignals.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace orb {
namespace {

using namespace std::chrono_literals;

/// Waits up to two seconds for the condition; true when it came.
template <typename Condition> bool cameWithin2s(Condition condition) {
    for (int i = 0; i < 200 && !condition(); ++i)
        std::this_thread::sleep_for(10ms);
    return condition();
}

class StopSignalsTest : public testing::TestWithParam<int> {};

TEST_P(StopSignalsTest, TheSecondSignalEndsTheProgramWhileTheMainThreadCannotTakeSignals) {
    const int signal = GetParam();
    EXPECT_EXIT(
        {
            const StopSignals stopSignals;
            // The main thread is held where no handler can run on it, as in a read under /proc that only
            // SIGKILL interrupts; to the kernel that is a thread that does not take the signal now.
            sigset_t held;
            sigemptyset(&held);
            sigaddset(&held, signal);
            pthread_sigmask(SIG_BLOCK, &held, nullptr);
            ::kill(::getpid(), signal);
            if (!cameWithin2s([] { return StopSignals::stopSignal() != 0; })) std::exit(3);
            ::kill(::getpid(), signal);
            std::this_thread::sleep_for(2s);
            std::exit(0);
        },
        testing::KilledBySignal(signal), "");
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignalsTest, testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const testing::TestParamInfo<int>& info) {
                             return SignalName(info.param).substr(3);
                         });

} // namespace
} // namespace orb
