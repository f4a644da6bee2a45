#pragma once

#include "cli/args/CommandLine.h"
#include "link/PortChoice.h"

#include <string>

namespace orb {

/// Returns the entry of the port list that --port names: "COM n" for a device reachable as one, else the
/// device as a port of its own.
PortChoice ChosenPort(const PortArgument& port);

/// Names the port as orbctl's lines do: "COM 1 (/dev/ttyS0)", or the device alone.
std::string ChosenPortName(const PortArgument& port);

} // namespace orb
