#pragma once

#include "cli/CliError.h"

#include <string>

namespace orb {

/// Refuses the command line with the message and a pointer to the program's help.
[[noreturn]] inline void RefuseUsage(const std::string& message) {
    throw CliError(ExitStatus::Usage, message + " (orbctl --help)");
}

} // namespace orb
