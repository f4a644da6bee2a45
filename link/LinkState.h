#pragma once

#include "settings/SettingsForm.h"
#include "settings/UnitDisplay.h"

namespace orb {

/// Enters a link state; going inactive forgets what the unit reported.
void SetLinkState(SettingsForm& form, LinkState state);

} // namespace orb
