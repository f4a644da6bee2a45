#pragma once

#include "settings/Fields.h"
#include "settings/SettingsRecord.h"

#include <optional>
#include <string>

namespace orb {

/// The first output word that would make the unit's commands ambiguous, and what the refusal says.
struct OutputWordsViolation {
    TextRef field;
    std::string message;

    bool operator==(const OutputWordsViolation&) const = default;
};

/// Finds the first output whose name clashes with another name or any on/off word, or whose on/off word
/// clashes with a name; on-words and off-words of different outputs may be equal.
std::optional<OutputWordsViolation> FindOutputWordsViolation(const SettingsRecord& record);

} // namespace orb
