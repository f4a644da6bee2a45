#pragma once

#include "cli/series/SeriesRecord.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orb {

/// The series' log: a CSV file with one line per unit attempt under a header row, which a spreadsheet in
/// a Czech locale opens by double click as columns (UTF-8 with a byte-order mark, ';' between cells,
/// decimal comma, CRLF). A cell that a spreadsheet would run as a formula (one that begins with '=',
/// '+', '-', '@', a tab or a carriage return) is written with an apostrophe before it, and so is one that
/// begins with an apostrophe; reading the log takes exactly one away. A control character in a value (a
/// line break, a tab, ESC) is written as the terminal shows it, a line break as "\u000A", whatever port
/// the record came from. A log begun in the earlier format (',', a decimal point, no byte-order mark, one
/// column fewer, cells as they were) is read and continued in its own format.
///
/// Each record reaches the file whole or not at all: one write of its line, then a sync; when either
/// fails, the file is cut back to its length before, so the next record never joins a torn one. A last
/// line left without its end (a power cut in the middle of a write) is ended when the log is opened,
/// and said so; it counts as no record. One series at a time writes a log. The log is opened as every
/// save finds its file: a link another user planted in a shared folder is not followed, and a folder, a
/// device or a FIFO is refused without a wait.
class SeriesLog {
  public:
    /// Opens or creates the log, reads the records it holds and writes the header into an empty one;
    /// throws CliError(Failure) when it cannot be read or written, is taken by another series, or is no
    /// series' log.
    explicit SeriesLog(const std::string& path);
    ~SeriesLog();
    SeriesLog(const SeriesLog&) = delete;
    SeriesLog& operator=(const SeriesLog&) = delete;

    /// Returns the records the log held when it was opened.
    const std::vector<SeriesRecord>& earlierRecords() const { return earlier_; }
    /// Returns what the opening found and mended: a torn last line, lines that are no whole record.
    const std::vector<std::string>& notices() const { return notices_; }

    /// Appends the record's line and syncs it to the disk; throws CliError(Failure) naming the log, with
    /// the log as it was before.
    void append(const SeriesRecord& record);

  private:
    void readEarlier(std::string content);
    void writeWhole(const std::string& text);

    std::string path_;
    int fd_ = -1;
    char separator_ = ';';
    char decimalPoint_ = ',';
    std::size_t columns_;
    bool cellsMarked_ = true;
    std::vector<SeriesRecord> earlier_;
    std::vector<std::string> notices_;
};

} // namespace orb
