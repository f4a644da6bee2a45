#pragma once

#include "common/Progress.h"
#include "common/Prompter.h"
#include "image/EepromImage.h"
#include "link/BlockTransfer.h"
#include "link/PortChoice.h"
#include "link/ProgrammingMode.h"
#include "link/SerialPort.h"
#include "link/session/KnownUnit.h"
#include "link/session/SessionResult.h"
#include "link/session/StopToken.h"
#include "link/Transport.h"
#include "link/Waiter.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orb {

/// One attached unit, for whoever programs it: the window (through DeviceLink), orbctl's commands and each
/// port of a series. It activates the unit on a port, reads its EEPROM into the image buffer, writes the
/// buffer into it and deactivates it; questions and the box that tells how a call ended go to the
/// prompter, and every call returns what it came to as values (SessionResult).
///
/// While a call waits for the unit, events are processed; a second call that arrives then is ignored and
/// comes to Busy, so two exchanges never interleave. A port that fails in the middle of a call ends it with
/// a message, closes the port and leaves the connection Inactive.
class UnitSession {
  public:
    UnitSession(Prompter& prompter, EepromImage& image, Progress& progress, StopToken& stop, SerialPort& port,
                Waiter& waiter);

    /// Opens the port and switches the unit into programming mode: Done when it may be programmed,
    /// Refused when it is the wrong product or firmware (it is in programming mode all the same).
    SessionResult activate(const PortChoice& port);
    /// Reads the active unit's EEPROM (all of it, or the blocks its image covers; with ReadCheck::Twice
    /// proven by a second read) into the image buffer. Done when the buffer holds a valid image that fits
    /// the memory, which the caller decodes and announces; every other end is told here.
    SessionResult read(TransferScope scope, ReadCheck check);
    /// Writes the first bytes of the image buffer (whole blocks) into the active unit, with read-back when
    /// verify, and tells how it ended.
    SessionResult write(int bytes, bool verify);
    /// Takes the unit out of programming mode; without a valid reply the user decides.
    SessionResult deactivate();
    /// Deactivates a unit that may still be in programming mode, as the exit question's Yes does; Done at
    /// once while no connection is active.
    SessionResult leaveProgrammingMode();
    /// Closes the port and takes the connection as Inactive without a word to the unit: a series port goes
    /// on with the next unit after one that did not confirm its deactivation.
    void letGo();

    /// Returns the unit's memory size, or tells under title that it is unknown and returns nothing.
    std::optional<int> memorySizeFor(std::string_view title);
    /// What the unit reported and the connection's state.
    const UnitState& unit() const { return unit_.state(); }
    /// Calls shown with the unit's state at every change, as it happens (the window's device information).
    void showUnitIn(std::function<void(const UnitState&)> shown) { unit_.showIn(std::move(shown)); }
    /// Tells whether a call is running (its waits deliver other events).
    bool busy() const { return busy_; }
    /// How messages name the port opened last: "COM 1", "/dev/ttyUSB0".
    const std::string& openedPortName() const { return mode_.openedPortName(); }

  private:
    /// Runs one call; a port that fails ends it with a message under title, which for a write also says
    /// that the unit has no valid settings left.
    template <typename Call> SessionResult run(std::string_view title, Call call, bool writesUnit = false);
    /// Tells a call's end under title and returns it with its text.
    SessionResult told(LinkOutcome outcome, std::string_view title, std::string text, MessageIcon icon);

    Prompter& prompter_;
    EepromImage& image_;
    StopToken& stop_;
    KnownUnit unit_;
    Transport transport_;
    ProgrammingMode mode_;
    BlockTransfer blocks_;
    bool busy_ = false;
};

} // namespace orb
