#pragma once

#include "cli/args/CommandLine.h"

#include <optional>
#include <string>

namespace orb {

/// Returns the program's name and version, as --version prints it.
std::string VersionText();

/// Returns the help text of the program (no command) or of one command.
std::string HelpText(std::optional<Command> command);

} // namespace orb
