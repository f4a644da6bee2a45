#pragma once

#include "cli/series/SeriesPlan.h"
#include "cli/series/SeriesRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace orb {

/// Returns the lines that end a series: the units programmed, the units that failed (each with its port,
/// time and row, and whether another unit took the row), the units left without valid settings, which
/// must be programmed again, and the rows not yet done. Counts units from the records of this run.
std::vector<std::string> SeriesSummary(const SeriesPlan& plan, const std::vector<SeriesRecord>& records);

/// Returns what an earlier run of the series did, as the plan took it from the log: "Podle protokolu už
/// je naprogramováno 3 z 10 řádků (řádek 2 A, ...); zbývá 7." Nothing when it did nothing.
std::optional<std::string> ResumeLine(const SeriesPlan& plan);

/// Tells whether a record tells of a unit left without valid settings.
bool AnyUnitLeftWithoutSettings(const std::vector<SeriesRecord>& records);

} // namespace orb
