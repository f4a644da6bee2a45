#pragma once

#include "common/Progress.h"
#include "image/EepromImage.h"
#include "link/BlockTransfer.h"
#include "link/LinkOutcome.h"
#include "settings/SettingsForm.h"

namespace orb {

/// Reads the EEPROM of the active unit (all of it, or the blocks its image covers; with ReadCheck::Twice
/// proven by a second read) and, when it holds a valid image, decodes it into the form; tells the outcome
/// in one message and returns it. The form changes only when the read succeeded.
LinkOutcome LoadFromUnit(SettingsForm& form, EepromImage& image, Progress& progress, BlockTransfer& blocks,
                         TransferScope scope, ReadCheck check);

/// Checks the output words and the size, encodes the form into the image and writes it into the active
/// unit (its whole memory, or the blocks the image covers); tells the outcome in one message and returns
/// it. A check that refuses stops before anything is sent.
LinkOutcome SaveToUnit(SettingsForm& form, EepromImage& image, BlockTransfer& blocks, TransferScope scope);

} // namespace orb
