#pragma once

#include "settings/SettingsRecord.h"

#include <string>
#include <vector>

namespace orb {

/// Returns the printed report of the settings: the leading " " line, then its 45 lines, UTF-8.
std::vector<std::string> ReportLines(const SettingsRecord& record);

} // namespace orb
