#include "link/PortDevice.h"

#include <cstdlib>

namespace orb {

std::string PortDevice(int portNumber) {
    return AssignedDevice(portNumber).value_or("/dev/ttyS" + std::to_string(portNumber - 1));
}

std::optional<std::string> AssignedDevice(int portNumber) {
    const std::string variable = "ORB_COM" + std::to_string(portNumber);
    if (const char* device = std::getenv(variable.c_str()); device && *device) return device;
    return std::nullopt;
}

} // namespace orb
