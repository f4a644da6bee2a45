#pragma once

#include "settings/FormDisplay.h"
#include "settings/UnitState.h"

#include <string_view>

namespace orb {

/// btDEA's captions: "Aktivovat" while no connection is active, "Deaktivovat" while the port is open and
/// the unit is, or may still be, in programming mode.
inline constexpr std::string_view ActivateCaption = "Aktivovat";
inline constexpr std::string_view DeactivateCaption = "Deaktivovat";

/// Derives from the unit's state and the used size U (imageUsage) every part of the display that depends
/// on them: the device information, the three size labels, the link caption and its colour, btDEA, tabPort
/// and the EEPROM buttons.
void ShowUnitState(const UnitState& unit, int imageUsage, FormDisplay& display);

} // namespace orb
