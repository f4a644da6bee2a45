#include "cli/device/DeviceCommands.h"
#include "cli/device/PortJson.h"
#include "cli/device/PortTable.h"
#include "link/PortChoice.h"
#include "link/qt/DetectSerialPorts.h"

#include <vector>

namespace orb {

ExitStatus RunPorts(const CommandLine& line, std::ostream& out) {
    const std::vector<DetectedPort> ports = ReachablePorts(DetectSerialPorts());
    out << (line.json ? PortJson(ports) : PortTable(ports));
    return ExitStatus::Success;
}

} // namespace orb
