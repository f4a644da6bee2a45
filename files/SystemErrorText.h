#pragma once

#include <string>
#include <system_error>

namespace orb {

/// Says in a Czech sentence why the system refused to read or write a file, to follow a load's or a save's
/// own message. Causes a technician meets have their own sentence; any other keeps the system's words.
std::string DescribeSystemError(const std::error_code& error);

} // namespace orb
