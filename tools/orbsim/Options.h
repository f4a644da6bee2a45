#pragma once

#include "tools/orbsim/Faults.h"
#include "tools/orbsim/Unit.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace orb::sim {

/// Everything the command line sets.
struct Options {
    UnitIdentity unit;
    FaultOptions faults;
    std::optional<std::uint16_t> badBlock;
    std::string eepromFile;
    std::string linkPath;
    std::string logPath;
    bool pace = true;
    unsigned delayMs = 0;
    unsigned hangupAfter = 0;
    bool exitAfterDeactivate = false;
    std::optional<unsigned> nextUnitMs; ///< a new unit takes the deactivated one's place after this pause
    bool help = false;
};

/// A command line that cannot be understood; the message says which option and why.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// Reads the command line; throws UsageError.
Options ParseOptions(int argc, char** argv);
/// Returns the text that --help prints.
std::string HelpText();

} // namespace orb::sim
