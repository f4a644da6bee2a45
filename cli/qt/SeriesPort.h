#pragma once

#include "cli/args/CommandLine.h"
#include "cli/SeriesBroker.h"
#include "link/BlockTransfer.h"
#include "link/PortChoice.h"

#include <optional>
#include <string>

namespace orb {

/// What every port of a series does the same way; what each unit gets comes from the broker.
struct SeriesOptions {
    bool verify = true;
    TransferScope scope = TransferScope::WholeMemory;
    std::optional<int> timeout; ///< seconds each unit is greeted before the port gives up
};

/// Serves the units that answer on one port, one after another: greets until a unit answers, activates
/// and checks it, reads as much of it as its header describes to recognise the image it holds, takes an
/// offer from the broker, saves the unit's whole memory first if the offer says where, writes the
/// offer's image and deactivates the unit. A unit that stops answering, a port that fails, the log or a
/// backup that cannot be written, the broker's "no row left" and a stop signal end the port's work.
/// Returns true when it ended as planned: the series was done or stopped. Needs a QCoreApplication and
/// StopSignals.
bool ServeSeriesPort(const PortArgument& port, const SeriesOptions& options, SeriesBroker& broker);

} // namespace orb
