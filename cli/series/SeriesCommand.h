#pragma once

#include "cli/args/CommandLine.h"
#include "cli/CliError.h"

#include <ostream>

namespace orb {

/// Programs a series of units on one or several ports, each unit with its row of settings, logging every
/// unit; Success only when every row was programmed (orbctl series).
ExitStatus RunSeries(const CommandLine& line, std::ostream& out, std::ostream& err);

} // namespace orb
