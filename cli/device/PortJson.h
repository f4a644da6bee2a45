#pragma once

#include "link/PortChoice.h"

#include <string>
#include <vector>

namespace orb {

/// The ports for scripts: a JSON array of objects with device, com (the n of COM n), description,
/// manufacturer, serialNumber, usbVendorId and usbProductId (four hex digits); null where a detail is
/// missing. Text a device gives that is not UTF-8 has its bad bytes replaced, so the output always parses.
std::string PortJson(const std::vector<DetectedPort>& ports);

} // namespace orb
