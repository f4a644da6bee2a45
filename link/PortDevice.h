#pragma once

#include <optional>
#include <string>

namespace orb {

/// Names the device behind "COM n": the path in the environment variable ORB_COM<n> when it is set and
/// not empty (a USB adapter, the simulated unit's pseudo-terminal), else /dev/ttyS<n-1>.
std::string PortDevice(int portNumber);

/// Returns the device that ORB_COM<n> assigns to "COM n", or nothing when the variable is unset or empty.
std::optional<std::string> AssignedDevice(int portNumber);

} // namespace orb
