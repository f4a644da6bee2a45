#pragma once

#include <optional>
#include <string>

namespace orb {

/// Names the device behind "COM n": the path in the environment variable ORB_COM<n> when it is set and
/// not empty (a USB adapter, the simulated unit's pseudo-terminal), else /dev/ttyS<n-1>.
std::string PortDevice(int portNumber);

/// Returns the device that ORB_COM<n> assigns to "COM n", or nothing when the variable is unset or empty.
std::optional<std::string> AssignedDevice(int portNumber);

/// Names the group whose members may read and write the device (dialout for a serial port on Debian),
/// or nothing when its group has no such right or the device cannot be looked at.
std::optional<std::string> AccessGroupOf(const std::string& device);

} // namespace orb
