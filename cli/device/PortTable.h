#pragma once

#include "link/PortChoice.h"

#include <string>
#include <vector>

namespace orb {

/// Lays the ports out as a table under a heading, one a line: device, the COM n it is reachable as,
/// description, manufacturer, serial number and USB vendor:product id, with "-" where a detail is missing.
std::string PortTable(const std::vector<DetectedPort>& ports);

} // namespace orb
