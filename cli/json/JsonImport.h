#pragma once

#include "cli/json/SettingsJson.h"
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

/// A value the rules of its field changed on its way in, as the window changes it when the field is left.
struct Correction {
    std::string setting;
    Json given;            ///< as the file gave it
    Json stored;           ///< as the image holds it, and as an export of the image writes it
    bool national = false; ///< a telephone number put into international form: no file gives it back

    bool operator==(const Correction&) const = default;
};

/// What an import produced: the refusals, or, when there are none, the image of length L in the buffer
/// and the values the rules corrected on the way.
struct ImportOutcome {
    std::vector<Refusal> refusals;
    std::vector<Correction> corrections;
    std::int32_t length = 0;
};

/// Returns the line that tells of a correction: "tabWaitFree: 169 -> \"90\" (opraveno podle pravidla pole)".
std::string CorrectionText(const Correction& correction);

/// Builds the image from JSON settings the way the window takes them from the user: every value goes
/// through the settings form and the rules of its field (corrections included), then the output-word
/// rule, the size against memoryBytes when given, and the encoder. Missing keys keep their start-up
/// values. Nothing is encoded when anything was refused. Every value that came out other than it went
/// in is listed as a correction.
ImportOutcome ImportJson(const Json& json, std::optional<int> memoryBytes, EepromImage& image);

} // namespace orb
