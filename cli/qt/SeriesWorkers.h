#pragma once

#include "cli/CommandLine.h"
#include "cli/SeriesLedger.h"

#include <QStringList>
#include <vector>

namespace orb {

/// The environment variable that makes orbctl series serve its one port for a parent: rows are asked
/// for and records sent through standard input and output (SeriesPipe.h); the template and UNITS.csv
/// are the parent's alone.
inline constexpr const char* SeriesWorkerVariable = "ORBCTL_SERIES_WORKER";

/// Returns the arguments of the orbctl that serves one port of the series for its parent.
QStringList WorkerArguments(const CommandLine& line, const PortArgument& port);

/// Serves several ports at once, each by an orbctl of its own started with the arguments, and keeps the
/// series' account for them all in the ledger. A stop signal is passed on to each of them once; each
/// finishes its block, deactivates its unit and records it. Returns once every port's work has ended:
/// true when each ended as planned (the series done or stopped). Needs a QCoreApplication; catches the
/// stop signals itself.
bool RunSeriesWorkers(const std::vector<QStringList>& workers, SeriesLedger& ledger);

} // namespace orb
