#pragma once

#include "settings/FormDisplay.h"
#include "settings/UnitState.h"

#include <string>
#include <string_view>

namespace orb {

/// btDEA's captions: "Aktivovat" while no connection is active, "Deaktivovat" while the port is open and
/// the unit is, or may still be, in programming mode.
inline constexpr std::string_view ActivateCaption = "Aktivovat";
inline constexpr std::string_view DeactivateCaption = "Deaktivovat";

/// "150 byte", as the used and free sizes show a number of bytes.
std::string ByteCaption(int bytes);
/// "  2048 byte": a memory size right-aligned in 11 characters, as lblInfoPamSize shows it.
std::string MemorySizeCaption(int bytes);

/// The identified unit in words, as the device information shows it; "?" for what it did not report.
struct UnitWords {
    std::string product;
    std::string firmware; ///< "1.2"
    std::string memory;   ///< "256 byte", without the label's padding
    std::string modem;
};
UnitWords DescribeUnit(const UnitState& unit);

/// Derives from the unit's state and the used size U (imageUsage) every part of the display that depends
/// on them: the device information, the three size labels, the link caption and its colour, btDEA, tabPort
/// and the EEPROM buttons.
void ShowUnitState(const UnitState& unit, int imageUsage, FormDisplay& display);

} // namespace orb
