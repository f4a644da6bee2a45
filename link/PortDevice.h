#pragma once

#include <string>

namespace orb {

/// Names the device behind "COM n": the path in the environment variable ORB_COM<n> when it is set and
/// not empty (a USB adapter, the simulated unit's pseudo-terminal), else /dev/ttyS<n-1>.
std::string PortDevice(int portNumber);

} // namespace orb
