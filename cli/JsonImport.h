#pragma once

#include "cli/SettingsJson.h"
#include "image/EepromImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orb {

/// A value that import refused: the setting ("tabTC[3]" for a row) and the reason, in the window's words
/// where the window has them.
struct Refusal {
    std::string setting;
    std::string message;

    bool operator==(const Refusal&) const = default;
};

/// What an import produced: the refusals, or, when there are none, the image of length L in the buffer.
struct ImportOutcome {
    std::vector<Refusal> refusals;
    std::int32_t length = 0;
};

/// Builds the image from JSON settings the way the window takes them from the user: every value goes
/// through the settings form and the rules of its field (corrections included), then the output-word
/// rule, the size against memoryBytes when given, and the encoder. Missing keys keep their start-up
/// values. Nothing is encoded when anything was refused.
ImportOutcome ImportJson(const Json& json, std::optional<int> memoryBytes, EepromImage& image);

} // namespace orb
