#pragma once

#include "cli/SeriesPlan.h"
#include "cli/SeriesRecord.h"

#include <string>
#include <vector>

namespace orb {

/// Returns the lines that end a series: the units programmed, the units that failed (each with its port,
/// time and row, and whether another unit took the row), the units left without valid settings, which
/// must be programmed again, and the rows not yet done. Counts units from the records of this run.
std::vector<std::string> SeriesSummary(const SeriesPlan& plan, const std::vector<SeriesRecord>& records);

/// Tells whether a record tells of a unit left without valid settings.
bool AnyUnitLeftWithoutSettings(const std::vector<SeriesRecord>& records);

} // namespace orb
