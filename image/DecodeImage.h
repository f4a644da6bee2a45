#pragma once

#include "image/EepromImage.h"
#include "settings/SettingsForm.h"

#include <cstdint>
#include <optional>

namespace orb {

/// Fills the form from the image through its setters, so every change runs its ordinary reactions.
/// The whole image is read and checked before the first setter runs: on a bad image it shows
/// "Neznámá chyba při překladu dat." and returns false with the settings unchanged.
bool DecodeImage(const EepromImage& image, SettingsForm& form);

/// Tells whether the decoder finds everything it reads in the image's first `length` bytes, as when a
/// file of that length was loaded: false when it would need a byte at or beyond `length`, whatever the
/// buffer holds there. An image whose content the decoder refuses before that point counts as fitting.
bool ImageFitsIn(const EepromImage& image, std::int32_t length);
/// Returns where the image ends (one past the last byte the decoder reads) when it fits in its first
/// `length` bytes as ImageFitsIn tells, else nothing: more of it must be loaded first.
std::optional<std::int32_t> ImageEnd(const EepromImage& image, std::int32_t length);

} // namespace orb
