#pragma once

#include "cli/args/CommandLine.h"
#include "cli/CliError.h"
#include "cli/json/SettingsJson.h"

#include <ostream>

namespace orb {

/// Prints the settings of a file as the printed report's lines (orbctl show).
ExitStatus RunShow(const CommandLine& line, std::ostream& out, std::ostream& err);
/// Writes the settings as the printed report's lines, as show and read print them.
void PrintReport(const SettingsRecord& record, std::ostream& out);
/// Lists the settings in which two files differ; Refused when there is any (orbctl diff).
ExitStatus RunDiff(const CommandLine& line, std::ostream& out, std::ostream& err);
/// Writes the settings in which two exports differ to out, one a line; Refused when there is any.
ExitStatus ListDifferences(const Json& a, const Json& b, std::ostream& out);

} // namespace orb
