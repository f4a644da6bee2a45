#pragma once

#include "common/Progress.h"
#include "files/SettingsFile.h"
#include "image/EepromImage.h"
#include "settings/SettingsForm.h"

#include <string>

namespace orb {

/// Before the settings are replaced (a file loaded, the unit read) or the program ends: when they changed
/// since a file or the unit last took or gave them, asks under the title of that operation whether to
/// save them to a file. Yes shows the save dialog, No lets the changes go, Storno keeps them. Returns true
/// when the operation may go on: after No, after Yes once the file holds the settings, and at once when
/// nothing changed.
bool OfferToSaveChangedSettings(SettingsForm& form, EepromImage& image, Progress& progress,
                                FileDialogs& dialogs, const std::string& title);

} // namespace orb
