#pragma once

#include "cli/args/CommandLine.h"
#include "cli/series/SeriesBroker.h"
#include "cli/series/SeriesOptions.h"
#include "link/PortChoice.h"

#include <optional>
#include <string>

namespace orb {

/// Serves the units that answer on one port, one after another: greets until a unit answers, activates
/// and checks it, reads as much of it as its header describes to recognise the image it holds, takes an
/// offer from the broker, saves the unit's whole memory first if the offer says where, writes the
/// offer's image and deactivates the unit. A unit that stops answering, a port that fails, the log or a
/// backup that cannot be written, the broker's "no row left" and a stop signal end the port's work.
/// Returns true when it ended as planned: the series was done or stopped. Needs a QCoreApplication and
/// StopSignals.
bool ServeSeriesPort(const PortArgument& port, const SeriesOptions& options, SeriesBroker& broker);

} // namespace orb
