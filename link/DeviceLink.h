#pragma once

#include "common/Progress.h"
#include "image/EepromImage.h"
#include "link/BlockTransfer.h"
#include "link/LinkOutcome.h"
#include "link/PortChoice.h"
#include "link/SerialPort.h"
#include "link/session/StopToken.h"
#include "link/session/UnitSession.h"
#include "link/Waiter.h"
#include "settings/SettingsForm.h"

#include <vector>

namespace orb {

/// The main window's commands on the attached unit, over a unit session: the port the user chose in
/// tabPort, the form's settings and its device information. While a command waits for the unit, the
/// window keeps processing events; a second command that arrives then is ignored and comes to Busy. Each
/// command returns what it came to; the window has shown it already and needs no more.
class DeviceLink {
  public:
    /// Storno, and whatever else ends an exchange early, reaches the link through stop.
    DeviceLink(SettingsForm& form, EepromImage& image, Progress& progress, StopToken& stop, SerialPort& port,
               Waiter& waiter);

    /// Handles btDEA: activates while no connection is active, else deactivates.
    LinkOutcome onDeaClicked();
    /// Handles btEEPROMLoad: reads the unit's EEPROM and decodes it into the form.
    LinkOutcome loadFromUnit(TransferScope scope = TransferScope::WholeMemory,
                             ReadCheck check = ReadCheck::Once);
    /// Handles btEEPROMSave: checks and encodes the form, then writes the image into the unit.
    LinkOutcome saveToUnit(TransferScope scope = TransferScope::WholeMemory);
    /// Handles btKonec (Yes, No, Storno) and the close box (Yes, No): offers to deactivate a unit left in
    /// programming mode with those buttons; true ends the program, which only Storno prevents.
    bool confirmExit(MessageButtons buttons = MessageButtons::YesNoCancel);
    /// Replaces the ports behind the entries of tabPort ("COM 1".."COM 4" at first); the chosen port stays
    /// chosen where it is still in the list, else "COM 1" is.
    void setPorts(std::vector<PortChoice> ports);
    const std::vector<PortChoice>& ports() const { return ports_; }
    /// Takes a unit still in programming mode out of it without asking first, as the exit question's Yes
    /// does; nothing while no connection is active (Done).
    LinkOutcome leaveProgrammingMode();
    /// Tells whether a command is running (its waits deliver the window's clicks).
    bool busy() const { return session_.busy(); }

  private:
    SettingsForm& form_;
    EepromImage& image_;
    Progress& progress_;
    UnitSession session_;
    std::vector<PortChoice> ports_ = PortChoices({});
};

} // namespace orb
