#pragma once

#include "cli/CliError.h"
#include "cli/CommandLine.h"

#include <ostream>

namespace orb {

/// orbctl show: prints the settings of a file as the printed report's lines.
ExitStatus RunShow(const CommandLine& line, std::ostream& out, std::ostream& err);
/// orbctl export: writes the settings of a file as JSON, to -o or to out.
ExitStatus RunExport(const CommandLine& line, std::ostream& out, std::ostream& err);
/// orbctl import: builds a settings file from JSON; each refusal goes to err and nothing is written.
ExitStatus RunImport(const CommandLine& line, std::ostream& out, std::ostream& err);
/// orbctl diff: lists the settings in which two files differ; Refused when there is any.
ExitStatus RunDiff(const CommandLine& line, std::ostream& out, std::ostream& err);

} // namespace orb
