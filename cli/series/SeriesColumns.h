#pragma once

#include "cli/json/SettingsJson.h"
#include "cli/series/SeriesCsv.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orb {

/// Where a column of UNITS.csv puts its values.
struct SeriesColumn {
    std::string key;                    ///< the setting's key in the settings JSON
    std::optional<std::size_t> element; ///< the row of a row setting
    std::string name;                   ///< as the settings spell it: "tabTC[2]", whatever the header's case
};

/// Returns the name a spreadsheet gives the column counted from 0: A, B, ..., Z, AA, AB, ...
std::string ColumnLetter(std::size_t column);

/// Names a place of UNITS.csv as the refusals do: "jednotky.csv: řádek 4, sloupec C".
std::string CellPlace(const std::string& unitsName, int line, std::size_t column);

/// Finds the setting each name of the header stands for, after trimming its spaces and ignoring case;
/// the empty names that end a header (a spreadsheet's unused columns) are no columns. An unknown name
/// is refused with the nearest known one as a hint; so are a repeated setting, a row setting without
/// its row and a row out of range. Returns the columns, or nothing with every reason in refusals.
std::optional<std::vector<SeriesColumn>> MatchSeriesHeader(const CsvRecord& header, const Json& settings,
                                                           const std::string& unitsName,
                                                           std::vector<std::string>& refusals);

} // namespace orb
