#pragma once

#include "cli/args/CommandLine.h"
#include "cli/CliError.h"

#include <ostream>

namespace orb {

/// Activates the unit on --port, reads its EEPROM and deactivates it; saves the settings to -o or prints
/// them as the report (orbctl read).
ExitStatus RunRead(const CommandLine& line, std::ostream& out, std::ostream& err);
/// Lists the serial ports the system has, with the COM n each is reachable as (orbctl ports).
ExitStatus RunPorts(const CommandLine& line, std::ostream& out);
/// Reads the unit on --port and lists the settings in which it differs from the file, the file's value
/// first; Refused when there is any (orbctl diff FILE --port N).
ExitStatus RunUnitDiff(const CommandLine& line, std::ostream& out, std::ostream& err);
/// Activates the unit on --port, writes the file's settings into it and deactivates it (orbctl write).
ExitStatus RunWrite(const CommandLine& line, std::ostream& out, std::ostream& err);

} // namespace orb
