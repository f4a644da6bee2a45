#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orb {

/// The commands of the main window that the device link and the printer supply. main() plugs them in;
/// a command left empty does nothing, and an empty exit question lets the program end at once.
struct WindowCommands {
    std::function<void()> dea;          ///< btDEA: activates or deactivates by the button's caption
    std::function<void()> loadFromUnit; ///< btEEPROMLoad
    std::function<void()> saveToUnit;   ///< btEEPROMSave
    std::function<void()> print;        ///< btTisk
    std::function<bool()> confirmExit;  ///< btKonec: asks about a unit left in programming mode; true ends
    std::function<void()> beforeClose;  ///< the close box: the same question; the window closes regardless
    /// tabPort: reads the system's serial ports again, keeps the chosen one chosen, returns the entries
    std::function<std::vector<std::string>()> listPorts;
    std::function<void()> leaveProgrammingMode; ///< deactivates a unit in programming mode without asking
};

} // namespace orb
