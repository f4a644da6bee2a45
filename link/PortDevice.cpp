#include "link/PortDevice.h"

#include <cstdlib>
#include <grp.h>
#include <sys/stat.h>

namespace orb {

std::string PortDevice(int portNumber) {
    return AssignedDevice(portNumber).value_or("/dev/ttyS" + std::to_string(portNumber - 1));
}

std::optional<std::string> AssignedDevice(int portNumber) {
    const std::string variable = "ORB_COM" + std::to_string(portNumber);
    if (const char* device = std::getenv(variable.c_str()); device && *device) return device;
    return std::nullopt;
}

std::optional<std::string> AccessGroupOf(const std::string& device) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0) return std::nullopt;
    if ((status.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) return std::nullopt;
    const group* owner = ::getgrgid(status.st_gid);
    if (owner == nullptr) return std::nullopt;
    return std::string(owner->gr_name);
}

} // namespace orb
