#pragma once

#include "common/Progress.h"
#include "image/EepromImage.h"
#include "link/BlockTransfer.h"
#include "link/LinkOutcome.h"
#include "link/ProgrammingMode.h"
#include "link/SerialPort.h"
#include "link/session/StopToken.h"
#include "link/Transport.h"
#include "link/Waiter.h"
#include "settings/SettingsForm.h"

#include <string_view>
#include <vector>

namespace orb {

/// Everything the main window asks of the attached unit: one object, one call per command.
/// While a command waits for the unit, the window keeps processing events; a second command that
/// arrives then is ignored and comes to Busy, so two exchanges never interleave whoever calls (the
/// window runs one command at a time of its own accord). A port that fails in the middle of an exchange ends
/// the command with a message, closes the port and leaves the connection Inactive; the program keeps running.
/// Each command returns what it came to; the window has shown it already and needs no more.
class DeviceLink {
  public:
    /// Storno, and whatever else ends an exchange early, reaches the link through stop.
    DeviceLink(SettingsForm& form, EepromImage& image, Progress& progress, StopToken& stop, SerialPort& port,
               Waiter& waiter);

    /// Handles btDEA: activates while no connection is active (it reads "Aktivovat"), else deactivates.
    LinkOutcome onDeaClicked();
    /// Handles btEEPROMLoad: reads the unit's EEPROM and decodes it into the form.
    LinkOutcome loadFromUnit(TransferScope scope = TransferScope::WholeMemory,
                             ReadCheck check = ReadCheck::Once);
    /// Handles btEEPROMSave: checks and encodes the form, then writes the image into the unit.
    LinkOutcome saveToUnit(TransferScope scope = TransferScope::WholeMemory);
    /// Handles btKonec (Yes, No, Storno) and the close box (Yes, No): offers to deactivate a unit left in
    /// programming mode with those buttons; true ends the program, which only Storno prevents.
    bool confirmExit(MessageButtons buttons = MessageButtons::YesNoCancel);
    /// Handles the close box: the exit question with Yes and No; the window closes in any case.
    void confirmClose() { confirmExit(MessageButtons::YesNo); }
    /// Replaces the ports behind the entries of tabPort ("COM 1".."COM 4" at first); the chosen port stays
    /// chosen where it is still in the list, else "COM 1" is.
    void setPorts(std::vector<PortChoice> ports);
    const std::vector<PortChoice>& ports() const { return mode_.ports(); }
    /// Takes a unit still in programming mode out of it without asking first, as the exit question's Yes
    /// does; nothing while no connection is active (Done).
    LinkOutcome leaveProgrammingMode();
    /// Closes the port and takes the connection as Inactive without a word to the unit: a series port goes
    /// on with the next unit after one that did not confirm its deactivation.
    void letGo();
    /// Tells whether a command is running (its waits deliver the window's clicks).
    bool busy() const { return busy_; }

  private:
    /// Runs one command and returns its outcome; a port that fails ends it with a message under title,
    /// which for a write also says that the unit has no valid settings left.
    template <typename Operation>
    LinkOutcome run(std::string_view title, Operation operation, bool writesUnit = false);

    SettingsForm& form_;
    EepromImage& image_;
    Progress& progress_;
    StopToken& stop_;
    Transport transport_;
    ProgrammingMode mode_;
    BlockTransfer blocks_;
    bool busy_ = false;
};

} // namespace orb
