#pragma once

#include "common/Progress.h"
#include "files/SettingsFile.h"
#include "image/EepromImage.h"
#include "settings/SettingsForm.h"

namespace orb {

/// Before the program ends: when the settings changed since a file or the unit last took or gave them,
/// asks whether to save them to a file. Yes shows the save dialog, No lets the changes go, Storno stays.
/// Returns true when the program may go on to end: after No, after Yes once the file holds the settings,
/// and at once when nothing changed.
bool OfferToSaveChangedSettings(SettingsForm& form, EepromImage& image, Progress& progress,
                                FileDialogs& dialogs);

} // namespace orb
