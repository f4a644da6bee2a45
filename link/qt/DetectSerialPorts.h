#pragma once

#include "link/PortChoice.h"

#include <vector>

namespace orb {

/// Returns the serial ports the system has now, as QSerialPortInfo finds them (pseudo-terminals are not
/// among them).
std::vector<DetectedPort> DetectSerialPorts();

} // namespace orb
