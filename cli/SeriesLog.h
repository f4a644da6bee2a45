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
    std::string imageSha256{}; ///< of the image written; empty when nothing was written
    bool verify = true;
    std::string outcome{}; ///< the message that ended the unit's attempt, in Czech
    bool programmed = false;
    TransferCounts counts{}; ///< everything moved to and from the unit: reads and the write
    double seconds = 0;      ///< from the unit's answer to its deactivation
    std::string backup{};    ///< the file its memory was saved in, if any

    bool operator==(const SeriesRecord&) const = default;
};

/// Returns the record's fields in the order of the log's columns.
std::vector<std::string> RecordFields(const SeriesRecord& record);
/// Reads the fields of RecordFields back; throws CliError(Failure) when they are not a record's.
SeriesRecord RecordFromFields(const std::vector<std::string>& fields);

/// Returns a moment as ISO 8601 local time with its offset from UTC: "2024-05-01T10:15:02+02:00".
std::string IsoTime(std::chrono::system_clock::time_point moment);

/// The series' log, a CSV file (RFC 4180, UTF-8) with one line per unit attempt under a header row. An
/// existing log is appended to; each line is on the disk (synced) before append returns, so a power cut
/// loses no unit already done.
class SeriesLog {
  public:
    /// Opens or creates the log and writes the header into an empty one; throws CliError(Failure).
    explicit SeriesLog(const std::string& path);
    ~SeriesLog();
    SeriesLog(const SeriesLog&) = delete;
    SeriesLog& operator=(const SeriesLog&) = delete;

    /// Appends the record's line and syncs it to the disk; throws CliError(Failure) naming the log.
    void append(const SeriesRecord& record);

  private:
    void write(const std::string& text);

    std::string path_;
    int fd_ = -1;
};

} // namespace orb

namespace orb {

/// Returns the record as the terminal shows it: the port, the row, the outcome and what moved, e.g.
/// "COM 1 (/dev/ttyS0): řádek 3 CHATA-3: Data byla úspěšně uložena do EEPROM. (8224 B, 1028 bloků,
/// 0 opakování, 14,5 s)".
std::string RecordLine(const SeriesRecord& record, const std::string& rowName);

} // namespace orb
