#pragma once

#include "cli/args/CommandLine.h"
#include "cli/series/SeriesLedger.h"
#include "cli/series/SeriesOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace orb {

class StopSignals;

/// The environment variable in which a series' parent names, to each orbctl it starts for a port, the
/// descriptor of the socket it hands it; rows are asked for and records sent through standard input and
/// output (SeriesPipe.h), and the template and UNITS.csv are the parent's alone.
inline constexpr const char* SeriesWorkerVariable = "ORBCTL_SERIES_WORKER";

/// Returns the socket a series' parent handed this orbctl to serve one port: the descriptor that
/// SeriesWorkerVariable names, when it is a socket whose other end the parent of this process made.
/// Nothing otherwise, whatever the environment holds: a variable carried over from elsewhere makes no
/// worker, and such an orbctl series is a series of its own.
std::optional<int> SeriesParentSocket();

/// Serves several ports at once, each by an orbctl of its own that is handed the options, and keeps the
/// series' account for them all in the ledger; templatePath is only named on the workers' command lines.
/// A stop signal, also one that came before the workers started, is passed on to each of them once; each
/// finishes its block, deactivates its unit and records it. A worker that sends a line that is no message
/// has failed: its port ends its work once its unit is recorded. Returns once every port's work has ended:
/// true when each ended as planned (the series done or stopped). Needs a QCoreApplication and the stop
/// signals caught.
bool RunSeriesWorkers(const std::vector<PortArgument>& ports, const std::string& templatePath,
                      const SeriesOptions& options, SeriesLedger& ledger, StopSignals& stops);

} // namespace orb
