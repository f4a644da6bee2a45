#pragma once

#include "common/Prompter.h"

#include <functional>
#include <string>
#include <vector>

namespace orb {

/// The commands of the main window that the device link and the printer supply. main() plugs them in;
/// a command left empty does nothing, and an empty exit question lets the program end at once.
struct WindowCommands {
    std::function<void()> dea;          ///< btDEA: activates or deactivates by the button's caption
    std::function<bool()> loadFromUnit; ///< btEEPROMLoad: true once the unit's settings fill the window
    std::function<void()> saveToUnit;   ///< btEEPROMSave
    std::function<void()> print;        ///< btTisk
    /// btKonec (Yes, No, Storno) and the close box (Yes, No): asks about a unit left in programming mode
    /// with those buttons; true ends
    std::function<bool(MessageButtons)> confirmExit;
    /// tabPort: reads the system's serial ports again, keeps the chosen one chosen, returns the entries
    std::function<std::vector<std::string>()> listPorts;
    std::function<void()> leaveProgrammingMode; ///< deactivates a unit in programming mode without asking
};

} // namespace orb
