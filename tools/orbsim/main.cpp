// The simulated unit: prints its port's path on the first line of stdout and answers the programming
// protocol there until it is stopped.
#include "tools/orbsim/EepromFile.h"
#include "tools/orbsim/Options.h"
#include "tools/orbsim/Pty.h"
#include "tools/orbsim/Session.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <unistd.h>

using namespace orb::sim;

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

// Blocks the stop signals outside the wait for input, so a reply is never cut off half-way; returns the
// mask to wait with, under which they are delivered.
sigset_t catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
        sigaddset(&stops, signal);
    }
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stops, &waitMask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigdelset(&waitMask, signal);
    return waitMask;
}

const char* describe(SessionEnd end) {
    switch (end) {
    case SessionEnd::Stopped:
        return "stopped";
    case SessionEnd::HungUp:
        return "hung up as asked";
    case SessionEnd::Deactivated:
        return "deactivated";
    case SessionEnd::InputEnded:
        return "port closed";
    }
    return "";
}

int run(const Options& options) {
    const sigset_t waitMask = catchStopSignals();
    Pty pty;
    if (!options.linkPath.empty()) MakeLink(options.linkPath, pty.SlavePath());
    std::cout << pty.SlavePath() << std::endl;

    Bytes eeprom = options.eepromFile.empty() ? Bytes{} : LoadEeprom(options.eepromFile);
    const auto memory = MemoryBytes(options.unit.memoryCode);
    if (eeprom.size() > memory)
        std::cerr << "orbsim: " << options.eepromFile << " is longer than the EEPROM; the rest is ignored\n";
    const auto& u = options.unit;
    std::cerr << "orbsim: product " << u.product << ", firmware " << int{u.major} << "." << int{u.minor}
              << ", memory code " << int{u.memoryCode} << " (" << memory << " bytes), modem " << int{u.modem}
              << (options.pace ? ", paced" : "") << " on " << pty.SlavePath() << "\n";

    Session session(options, pty, std::move(eeprom));
    const SessionEnd end = session.Run(stopRequested, waitMask);
    // The program must see the port vanish before anything else happens.
    if (end == SessionEnd::HungUp) pty.HangUp();
    pty.WaitUntilRead(1000);
    session.SaveEeprom();
    if (!options.linkPath.empty()) unlink(options.linkPath.c_str());
    std::cerr << "orbsim: " << describe(end) << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options options = ParseOptions(argc, argv);
        if (options.help) {
            std::cout << HelpText();
            return 0;
        }
        return run(options);
    } catch (const UsageError& e) {
        std::cerr << "orbsim: " << e.what() << "\n" << HelpText();
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "orbsim: " << e.what() << "\n";
        return 1;
    }
}
