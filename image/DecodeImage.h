#pragma once

#include "image/EepromImage.h"
#include "settings/SettingsForm.h"

namespace orb {

/// Fills the form from the image through its setters, so every change runs its ordinary reactions.
/// The whole image is read and checked before the first setter runs: on a bad image it shows
/// "Neznámá chyba při překladu dat." and returns false with the settings unchanged.
bool DecodeImage(const EepromImage& image, SettingsForm& form);

} // namespace orb
