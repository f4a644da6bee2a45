#pragma once

#include "settings/Fields.h"
#include "settings/SettingsRecord.h"

#include <cstddef>
#include <string_view>

namespace orb {

/// Counts the characters of a UTF-8 text, as the unit stores one byte per character.
std::size_t CharacterCount(std::string_view text);

/// Returns true for the texts that enter the image's variable part, so that a change of them recounts.
bool IsCountedText(TextField field);

/// Counts the bytes the settings take in the image, plus one (the used size U of the size labels).
int CountImageSize(const SettingsRecord& record);

} // namespace orb
