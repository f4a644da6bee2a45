#pragma once

#include "common/Prompter.h"

#include <functional>
#include <string>
#include <vector>

namespace orb {

/// The commands of the main window that the device link and the printer supply. main() plugs them in;
/// a command left empty does nothing, and an empty exit question lets the program end at once. The window
/// runs each but listPorts as one of its commands, one at a time, and locks the settings of the tabs while
/// one exchanges data with the unit (all but print).
struct WindowCommands {
    std::function<void()> dea; ///< btDEA: activates while no connection is active, else deactivates
    /// btEEPROMLoad, once the window has offered to save changed settings: reads the unit; true once its
    /// settings fill the window
    std::function<bool()> loadFromUnit;
    std::function<void()> saveToUnit; ///< btEEPROMSave, with the window's question before Storno stops it
    std::function<void()> print;      ///< btTisk
    /// btKonec (Yes, No, Storno) and the close box (Yes, No): asks about a unit left in programming mode
    /// with those buttons; true ends the program, which only Storno prevents
    std::function<bool(MessageButtons)> confirmExit;
    /// tabPort: reads the system's serial ports again and returns the entries; the chosen port stays chosen
    /// where it is still in the list
    std::function<std::vector<std::string>()> listPorts;
    /// On a stop signal: deactivates a unit still in programming mode without asking
    std::function<void()> leaveProgrammingMode;
};

} // namespace orb
