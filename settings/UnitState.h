#pragma once

#include <optional>
#include <string>

namespace orb {

/// The programming-mode connection.
enum class LinkState {
    Inactive, ///< "Neaktivní": port closed, unit unknown
    Active,   ///< "Aktivní": the unit may be read and written
    Refused,  ///< "Chybné zařízení": port open, wrong product or firmware; only deactivation goes on
};

/// The firmware version the unit reports; the window shows it as "major.minor".
struct FirmwareVersion {
    int major = 0;
    int minor = 0;

    bool operator==(const FirmwareVersion&) const = default;
};

/// What the program knows of the attached unit. The window's captions that describe the unit and the
/// connection are derived from it (ShowUnitState) and never read back; nothing unknown shows as "?".
struct UnitState {
    LinkState link = LinkState::Inactive;
    std::optional<std::string> product; ///< a name of DeviceTypeTable; nothing for an unknown identity
    std::optional<FirmwareVersion> version;
    std::optional<int> memoryBytes;
    std::optional<std::string> modem; ///< an entry of ModemTypeTable

    /// True while the port is open and the unit is, or may still be, in programming mode.
    bool connected() const { return link != LinkState::Inactive; }

    bool operator==(const UnitState&) const = default;
};

} // namespace orb
