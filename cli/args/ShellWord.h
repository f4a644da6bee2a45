#pragma once

#include "cli/args/CommandLine.h"

#include <string>

namespace orb {

/// Returns the text as one word of a POSIX shell command: in single quotes, each quote inside as '\''.
std::string ShellWord(const std::string& text);

/// Returns the command that writes the settings file into the unit on the port, as the user would type it
/// into a shell: "orbctl write 'ZÁLOHA.eep' --port 1".
std::string WriteCommand(const std::string& file, const PortArgument& port);

} // namespace orb
