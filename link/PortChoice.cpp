#include "link/PortChoice.h"

#include "link/PortDevice.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace orb {

namespace {

constexpr int ComPortCount = 4;

/// Tells whether two paths open the same device: the same file when both exist, else the same path.
bool SameDevice(const std::string& a, const std::string& b) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(a, b, error);
    return error ? std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal()
                 : same;
}

} // namespace

std::string PortChoice::text() const {
    if (comNumber != 0) return name();
    const std::string deviceName = std::filesystem::path(detected.device).filename().string();
    return detected.description.empty() ? deviceName : deviceName + " (" + detected.description + ")";
}

std::string PortChoice::name() const {
    return comNumber != 0 ? "COM " + std::to_string(comNumber) : detected.device;
}

std::string PortChoice::device() const {
    return comNumber != 0 ? PortDevice(comNumber) : detected.device;
}

std::vector<PortChoice> PortChoices(const std::vector<DetectedPort>& detected) {
    std::vector<PortChoice> choices;
    for (int n = 1; n <= ComPortCount; ++n)
        choices.push_back({n, {}});
    for (const DetectedPort& port : detected)
        if (!ComNumberOf(port.device)) choices.push_back({0, port});
    return choices;
}

std::optional<int> ComNumberOf(const std::string& device) {
    for (int n = 1; n <= ComPortCount; ++n)
        if (SameDevice(device, PortDevice(n))) return n;
    return std::nullopt;
}

std::vector<DetectedPort> ReachablePorts(std::vector<DetectedPort> detected) {
    for (int n = 1; n <= ComPortCount; ++n) {
        const std::optional<std::string> device = AssignedDevice(n);
        if (!device) continue;
        const bool known = std::any_of(detected.begin(), detected.end(), [&device](const DetectedPort& port) {
            return SameDevice(port.device, *device);
        });
        std::error_code error;
        if (!known && std::filesystem::exists(*device, error)) detected.push_back({.device = *device});
    }
    return detected;
}

} // namespace orb
