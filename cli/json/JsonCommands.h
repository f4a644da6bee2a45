#pragma once

#include "cli/args/CommandLine.h"
#include "cli/CliError.h"

#include <ostream>

namespace orb {

/// Writes the settings of a file as JSON, to -o or to out (orbctl export).
ExitStatus RunExport(const CommandLine& line, std::ostream& out, std::ostream& err);
/// Builds a settings file from JSON; each refusal goes to err and nothing is written (orbctl import).
ExitStatus RunImport(const CommandLine& line, std::ostream& out, std::ostream& err);
/// Writes the JSON Schema of the exported settings, to -o or to out (orbctl schema).
ExitStatus RunSchema(const CommandLine& line, std::ostream& out);

} // namespace orb
