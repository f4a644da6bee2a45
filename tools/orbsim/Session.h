#pragma once

#include "tools/orbsim/Options.h"
#include "tools/orbsim/Pty.h"
#include "tools/orbsim/RequestLog.h"
#include "tools/orbsim/Unit.h"

#include <csignal>
#include <cstdint>
#include <string>

namespace orb::sim {

/// Why a session ended.
enum class SessionEnd { Stopped, HungUp, Deactivated, InputEnded };

/// The unit at work on its port: assembles request frames, answers them, applies the faults asked for.
class Session {
  public:
    /// Prepares a session on an open port; the unit starts from eeprom.
    Session(const Options& options, Pty& pty, Bytes eeprom);

    /// Serves requests until stop becomes nonzero or a fault or option ends the session; signals are
    /// delivered only while waiting for input, with waitMask as the signal mask.
    SessionEnd Run(const volatile std::sig_atomic_t& stop, const sigset_t& waitMask);
    /// Writes the EEPROM to the --eeprom file, if one was given.
    void SaveEeprom() const;

  private:
    // Returns true when the session has to end after this frame.
    bool handleFrame(const Bytes& frame, std::int64_t completeNs, SessionEnd& end);
    void checkLineSettings();
    void sendReply(const Bytes& bytes, unsigned splitMs);
    void presentNextUnit();

    const Options& options_;
    Pty& pty_;
    Unit unit_;
    RequestLog log_;
    Bytes pending_;
    std::int64_t wireFreeNs_ = 0; // when the request line is free again after the bytes received so far
    unsigned frames_ = 0;
    unsigned hellos_ = 0;
    unsigned replies_ = 0;
    std::string lastLineProblem_;
    unsigned unitNumber_ = 1;
    std::int64_t unitAnswersFromNs_ = 0; // a new unit of --next-unit ignores hellos until then
};

} // namespace orb::sim
