#pragma once

#include "common/Progress.h"

#include <chrono>
#include <string>
#include <vector>

namespace orb {

/// What happened to one unit of a series: one line of the log and of the terminal.
struct SeriesRecord {
    std::string time{}; ///< when the unit's attempt ended, ISO 8601 with the offset from UTC
    std::string port{}; ///< "COM 1 (/dev/ttyS0)"
    int row = 0;        ///< the row written or recognised; 0 when the unit got none
    std::string label{};
    std::string product{};
    std::string firmware{};
    std::string memory{};
    std::string modem{};
    std::string imageSha256{}; ///< of the image the unit was given; empty when it was given none
    bool verify = true;
    std::string outcome{}; ///< the message that ended the unit's attempt, in Czech
    bool programmed = false;
    TransferCounts counts{};              ///< everything moved to and from the unit: reads and the write
    double seconds = 0;                   ///< from the unit's answer to its deactivation
    std::string backup{};                 ///< the file its memory was saved in, if any
    bool leftWithoutSettings = false;     ///< its write began and did not end: it holds no valid settings now
    bool deactivationUnconfirmed = false; ///< it did not confirm that it left programming mode

    /// Tells whether the unit was found holding a row's image and let go without a write.
    bool recognised() const { return row > 0 && imageSha256.empty() && !programmed; }

    bool operator==(const SeriesRecord&) const = default;
};

/// The names of the log's columns, in order.
const std::vector<std::string>& RecordColumns();
/// How many columns the logs of the earlier formats have: the first without the last two columns, the
/// second without the last.
inline constexpr std::size_t EarlierRecordColumns = 17;
inline constexpr std::size_t SecondRecordColumns = 18;

/// Returns the record's fields in the order of the log's columns, the seconds with the decimal point given.
std::vector<std::string> RecordFields(const SeriesRecord& record, char decimalPoint = '.');
/// Reads the fields of RecordFields back, also those of the earlier formats (without the last columns) and
/// with either decimal point; throws CliError(Failure) when they are not a record's.
SeriesRecord RecordFromFields(const std::vector<std::string>& fields);

/// Returns a moment as ISO 8601 local time with its offset from UTC: "2024-05-01T10:15:02+02:00".
std::string IsoTime(std::chrono::system_clock::time_point moment);

/// Returns the record as the terminal shows it: the port, the row, the outcome and what moved, e.g.
/// "COM 1 (/dev/ttyS0): řádek 3 CHATA-3: Data byla úspěšně uložena do EEPROM. (8224 B, 1028 bloků,
/// 0 opakování, 14,5 s)".
std::string RecordLine(const SeriesRecord& record, const std::string& rowName);

} // namespace orb
