#pragma once

#include "common/Progress.h"
#include "settings/SettingsForm.h"
#include "settings/UnitDisplay.h"

namespace orb {

/// Enters a link state; going inactive forgets what the unit reported. Refused also hides the progress
/// window.
void SetLinkState(SettingsForm& form, Progress& progress, LinkState state);

} // namespace orb
