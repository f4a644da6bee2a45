#pragma once

#include "common/Progress.h"
#include "settings/SettingsForm.h"

#include <string_view>

namespace orb {

/// btDEA's captions: "Aktivovat" while no connection is active, "Deaktivovat" while the port is open and
/// the unit is, or may still be, in programming mode.
inline constexpr std::string_view ActivateCaption = "Aktivovat";
inline constexpr std::string_view DeactivateCaption = "Deaktivovat";

/// The programming-mode connection as the main window shows it; btDEA's caption records it.
enum class LinkState {
    Inactive, ///< "Neaktivni": port closed, unit unknown
    Active,   ///< "Aktivni": the unit may be read and written
    Refused,  ///< "Aktivni-spatna verze": port open, wrong product or firmware; only deactivation goes on
};

/// Shows the state on the form: caption and colour, port choice, btDEA, the EEPROM buttons and, when
/// going inactive, the device information; then recounts the free room.
void SetLinkState(SettingsForm& form, Progress& progress, LinkState state);

} // namespace orb
