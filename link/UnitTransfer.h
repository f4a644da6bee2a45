#pragma once

#include "common/Progress.h"
#include "image/EepromImage.h"
#include "link/BlockTransfer.h"
#include "link/session/SessionResult.h"
#include "link/session/UnitSession.h"
#include "settings/SettingsForm.h"

namespace orb {

/// Reads the active unit's EEPROM through the session (all of it, or the blocks its image covers; with
/// ReadCheck::Twice proven by a second read) and, when it holds a valid image, decodes it into the form;
/// tells the outcome in one message and returns it. The form changes only when the read succeeded.
SessionResult LoadFromUnit(SettingsForm& form, EepromImage& image, Progress& progress, UnitSession& session,
                           TransferScope scope, ReadCheck check);

/// Checks the output words and the size, encodes the form into the image and writes it into the active
/// unit (its whole memory, or the blocks the image covers) with read-back when the form's CheckWrite is
/// set; tells the outcome in one message and returns it. A check that refuses stops before anything is
/// sent.
SessionResult SaveToUnit(SettingsForm& form, EepromImage& image, UnitSession& session, TransferScope scope);

/// Writes the image of imageLength bytes that the session's buffer holds, ready as it is (a series' row),
/// into the active unit with read-back when verify: its whole memory, or the blocks the image covers. An
/// image the unit's memory cannot hold is refused under the prompter before anything is sent.
SessionResult SaveImageToUnit(Prompter& prompter, UnitSession& session, int imageLength, TransferScope scope,
                              bool verify);

} // namespace orb
