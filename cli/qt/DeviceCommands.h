#pragma once

#include "cli/CliError.h"
#include "cli/CommandLine.h"

#include <ostream>

namespace orb {

/// orbctl read: activates the unit on --port, reads its EEPROM, deactivates it; saves the settings to -o
/// or prints them as the report.
ExitStatus RunRead(const CommandLine& line, std::ostream& out, std::ostream& err);
/// orbctl write: activates the unit on --port, writes the file's settings into it, deactivates it.
ExitStatus RunWrite(const CommandLine& line, std::ostream& out, std::ostream& err);

} // namespace orb
