#pragma once

#include "cli/json/SettingsJson.h"

#include <string>
#include <vector>

namespace orb {

/// Lists the settings whose values differ between two exports (SettingsToJson), one line each: the setting's
/// name (with its row for row settings), the value in a, then the value in b, both written as JSON values.
std::vector<std::string> DiffSettings(const Json& a, const Json& b);

} // namespace orb
