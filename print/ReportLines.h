#pragma once

#include "settings/SettingsRecord.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orb {

/// One line of the report as the page lays it out.
struct ReportLine {
    std::string text; ///< UTF-8
    /// Bytes at the start of the text that label it: a setting's caption, or a row label with its separator.
    /// A line too wide for the paper continues under the first value, past the label.
    std::size_t labelLength = 0;
    /// The row of "=" under a heading: on paper it is cut at the edge, not continued.
    bool rule = false;
};

/// Returns the report of the settings as it is laid out on paper: the leading " " line, then its 45 lines.
std::vector<ReportLine> BuildReport(const SettingsRecord& record);

/// Returns the texts of the report's lines, UTF-8, for output that has no width limit.
std::vector<std::string> ReportLines(const SettingsRecord& record);

} // namespace orb
