#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orb {

/// A serial port the system has, as the platform reports it.
struct DetectedPort {
    std::string device{}; ///< the path that opens it, "/dev/ttyUSB0"
    std::string description{};
    std::string manufacturer{};
    std::string serialNumber{};
    std::optional<std::uint16_t> vendorId{}; ///< USB ids, for a USB adapter
    std::optional<std::uint16_t> productId{};

    bool operator==(const DetectedPort&) const = default;
};

/// One entry of the port list tabPort: "COM n", or a detected port that is none of COM 1..4.
struct PortChoice {
    int comNumber = 0;     ///< 1..4 for "COM n", 0 for a detected port
    DetectedPort detected; ///< the detected port, when comNumber is 0

    /// Returns what the list shows: "COM 3", or the device's name and description ("ttyUSB0 - FT232R").
    std::string text() const;
    /// Returns how messages name the port: "COM 3", or the device ("/dev/ttyUSB0").
    std::string name() const;
    /// Returns the device that opens the port; for "COM n" it is looked up when asked, since ORB_COM<n>
    /// may have changed since the list was made.
    std::string device() const;

    bool operator==(const PortChoice&) const = default;
};

/// Returns "COM 1".."COM 4", then every detected port that is none of them, in the order detected.
std::vector<PortChoice> PortChoices(const std::vector<DetectedPort>& detected);

/// Returns the n of the "COM n" (1..4) that opens the device, if any; a symbolic link counts as the
/// device it leads to.
std::optional<int> ComNumberOf(const std::string& device);

/// Returns the detected ports followed by the devices that ORB_COM<n> names, exist and were not detected
/// (the simulated unit's pseudo-terminal): every port that orbctl can reach.
std::vector<DetectedPort> ReachablePorts(std::vector<DetectedPort> detected);

} // namespace orb
