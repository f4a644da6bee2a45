#pragma once

#include "cli/json/SettingsJson.h"
#include "settings/Fields.h"

#include <string>

namespace orb {

/// Returns the JSON Schema (draft 2020-12) of the settings as SettingsToJson writes them and ImportJson
/// reads them: every key with its type, the most characters of a text, the values of a number, the texts
/// of a choice, the eight values of a row setting and the reserved bytes.
Json SettingsSchema();

/// Returns a regular expression that matches exactly the decimal texts without leading zeros of the
/// whole numbers range.min .. range.max (the step is not expressed).
std::string WholeNumberPattern(const NumberRange& range);

} // namespace orb
