#include "cli/device/ChosenPort.h"

#include "link/LinkMessages.h"

#include <optional>

namespace orb {

PortChoice ChosenPort(const PortArgument& port) {
    if (port.comNumber != 0) return {.comNumber = port.comNumber, .detected = {}};
    if (const std::optional<int> com = ComNumberOf(port.device)) return {.comNumber = *com, .detected = {}};
    return {.detected = {.device = port.device}};
}

std::string ChosenPortName(const PortArgument& port) {
    const PortChoice choice = ChosenPort(port);
    return link_messages::portAndDevice(choice.name(), choice.device());
}

} // namespace orb
