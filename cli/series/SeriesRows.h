#pragma once

#include "cli/json/SettingsJson.h"
#include "cli/series/SeriesCsv.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orb {

/// The settings one unit of a series gets: the template with one row of UNITS.csv applied over it.
struct SeriesRow {
    int number = 0;                  ///< the line of UNITS.csv the row starts on; 0 for the template alone
    std::string label;               ///< the value of the row's first column, to name the unit by
    std::vector<std::uint8_t> image; ///< the encoded image, L bytes: what the unit's EEPROM gets

    bool operator==(const SeriesRow&) const = default;
};

/// How the messages name the files a series comes from.
struct SeriesSources {
    std::string templateName;
    std::string unitsName;
};

/// How the rows are checked.
struct SeriesRowsOptions {
    std::optional<int> memoryBytes; ///< the memory every row must fit; the largest when not given
    bool acceptCorrections = false; ///< a value the rules would change is taken as changed, not refused
};

/// The most units one series programs from UNITS.csv.
inline constexpr std::size_t MaxSeriesRows = 10000;

/// What checking a series found: the rows, or why some were refused, and what the rules corrected.
struct SeriesRowsOutcome {
    std::vector<std::uint8_t> templateImage; ///< the template's own image
    std::vector<SeriesRow> rows;
    std::vector<std::string> refusals; ///< "jednotky.csv: řádek 4, sloupec B (tabPIN): PIN je špatně zadán."
    std::vector<std::string>
        corrections; ///< accepted: "jednotky.csv: řádek 3, sloupec B (tabDobaPlatnostiSMS): \"45\" -> \"30\""
};

/// Builds the image of every row the way orbctl import builds a file: each value of the row replaces
/// the template's, goes through the rules of its field and the whole image through the size check.
/// The header names settings as export does, a row setting's element as "tabTC[2]" (see
/// MatchSeriesHeader). An empty cell keeps the template's value and a row of empty cells is no row.
/// Texts are taken as they stand, but a telephone number without the spaces, dashes, dots and brackets
/// that only group its digits; check boxes as true/false, 1/0, ano/ne or pravda/nepravda in any case;
/// choices by their text. A value the rules would change (a number put into international form, a
/// time cut to its range) is refused unless corrections are accepted: nobody watches each unit of a
/// series to see it. A control character in a cell (a tab, a line break, ESC) is refused. Without
/// records the template alone is the one row. Refuses a row of the wrong
/// length and two rows with the same image (a unit could not be told from the other).
SeriesRowsOutcome BuildSeriesRows(const Json& templateJson, const std::vector<CsvRecord>& records,
                                  const SeriesRowsOptions& options, const SeriesSources& sources);

/// Lists the settings in which a row's image differs from the template's, as orbctl diff does:
/// "tabPIN: \"9999\" -> \"1111\"".
std::vector<std::string> SeriesRowDifferences(const std::vector<std::uint8_t>& templateImage,
                                              const SeriesRow& row);

} // namespace orb
