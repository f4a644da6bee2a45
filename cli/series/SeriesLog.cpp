#include "cli/series/SeriesLog.h"

#include "cli/CliError.h"
#include "cli/series/SeriesCsv.h"
#include "cli/terminal/TerminalText.h"
#include "cli/terminal/Utf8.h"
#include "files/RawFile.h"
#include "files/SystemErrorText.h"
#include "files/WriteTarget.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orb {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
/// Far beyond a log of the largest series (10,000 units of a few hundred bytes each).
constexpr std::size_t MaxLogBytes = 64 * 1024 * 1024;

std::string logUnwritable(const std::string& path) {
    return "Do protokolu '" + path + "' nelze zapisovat.";
}

[[noreturn]] void logFailed(const std::string& path, int error) {
    throw CliError(ExitStatus::Failure,
                   logUnwritable(path) + " " + DescribeSystemError({error, std::generic_category()}));
}

[[noreturn]] void notALog(const std::string& path, const std::string& why) {
    throw CliError(ExitStatus::Failure, "Soubor '" + path + "' není protokol série (" + why +
                                            "); zadejte jako --log nový soubor nebo protokol série.");
}

/// A cell a spreadsheet would run as a formula, or whose first character it would take away, shown as
/// text by an apostrophe before it.
std::string markedAsText(const std::string& cell) {
    if (!cell.empty() && std::string_view("=+-@\t\r'").find(cell.front()) != std::string_view::npos)
        return "'" + cell;
    return cell;
}

std::string unmarked(const std::string& cell) {
    return cell.starts_with('\'') ? cell.substr(1) : cell;
}

void syncFolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return;
    ::fsync(folderFd);
    ::close(folderFd);
}

} // namespace

SeriesLog::SeriesLog(const std::string& path) : path_(path), columns_(RecordColumns().size()) {
    try {
        fd_ = OpenForAppending(path);
    } catch (const UnwritableTarget& refusal) {
        throw CliError(ExitStatus::Failure, logUnwritable(path) + " " + refusal.reason());
    } catch (const std::system_error& error) {
        logFailed(path, error.code().value());
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        throw CliError(ExitStatus::Failure, "Protokol '" + path + "' právě zapisuje jiná série.");
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadDescriptorContent(fd_, MaxLogBytes);
    } catch (const std::system_error& error) {
        ::close(fd_);
        logFailed(path, error.code().value());
    }
    if (!bytes.empty()) {
        try {
            readEarlier({bytes.begin(), bytes.end()});
        } catch (...) {
            ::close(fd_);
            throw;
        }
        return;
    }
    writeWhole(std::string(ByteOrderMark) + CsvLine(RecordColumns(), separator_));
    // A new log's name must survive a power cut too: its folder's entry is synced as well.
    syncFolderOf(path);
}

SeriesLog::~SeriesLog() {
    if (fd_ >= 0) ::close(fd_);
}

void SeriesLog::readEarlier(std::string content) {
    if (!IsUtf8(content)) notALog(path_, "není v UTF-8; uložil ho tabulkový procesor?");
    const bool torn = !content.ends_with('\n');
    if (torn) {
        // A quote left open by the cut would take every later line into one cell: it is closed first.
        const bool inQuotes = std::count(content.begin(), content.end(), '"') % 2 == 1;
        const std::string ending = std::string(inQuotes ? "\"" : "") + "\r\n";
        writeWhole(ending);
        content += ending;
        notices_.push_back("Poslední řádek protokolu '" + path_ +
                           "' byl neúplný (zápis se přerušil); byl ukončen a nepočítá se jako záznam.");
    }
    const std::string_view text =
        std::string_view(content).substr(content.starts_with(ByteOrderMark) ? 3 : 0);
    separator_ = CsvSeparatorOf(text);
    std::vector<CsvRecord> records;
    try {
        records = ParseCsv(text, separator_);
    } catch (const CsvError& error) {
        notALog(path_, "řádek " + std::to_string(error.line()) + ": " + error.what());
    }
    if (records.empty()) {
        separator_ = ';';
        writeWhole(CsvLine(RecordColumns(), separator_));
        return;
    }
    const std::vector<std::string>& header = records.front().fields;
    const std::vector<std::string>& all = RecordColumns();
    if ((header.size() != all.size() && header.size() != SecondRecordColumns &&
         header.size() != EarlierRecordColumns) ||
        !std::equal(header.begin(), header.end(), all.begin()))
        notALog(path_, "záhlaví nejsou sloupce protokolu");
    // The earlier format wrote ',' and a decimal point, and its cells as they were.
    columns_ = header.size();
    cellsMarked_ = separator_ != ',';
    decimalPoint_ = separator_ == ',' ? '.' : ',';
    // The torn line has been told of already.
    if (torn && records.size() > 1) records.pop_back();
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        std::vector<std::string> fields = record->fields;
        if (cellsMarked_) std::transform(fields.begin(), fields.end(), fields.begin(), unmarked);
        try {
            if (fields.size() != columns_) throw CliError(ExitStatus::Failure, "");
            earlier_.push_back(RecordFromFields(fields));
        } catch (const CliError&) {
            notices_.push_back("Řádek " + std::to_string(record->line) + " protokolu '" + path_ +
                               "' není celý záznam série; nepočítá se.");
        }
    }
}

void SeriesLog::append(const SeriesRecord& record) {
    std::vector<std::string> fields = RecordFields(record, decimalPoint_);
    fields.resize(columns_);
    // A control character would act in a terminal that shows the log, and a line break would split a
    // line for a program that reads it line by line: each is written as the terminal shows it.
    std::transform(fields.begin(), fields.end(), fields.begin(),
                   [](const std::string& field) { return TerminalText(field); });
    if (cellsMarked_) std::transform(fields.begin(), fields.end(), fields.begin(), markedAsText);
    writeWhole(CsvLine(fields, separator_));
}

void SeriesLog::writeWhole(const std::string& text) {
    struct stat before {};
    if (::fstat(fd_, &before) != 0) logFailed(path_, errno);
    ssize_t written;
    do
        written = ::write(fd_, text.data(), text.size());
    while (written < 0 && errno == EINTR);
    // A write cut short has run out of room: the next would say so, and could end the line no better.
    int error = written < 0 ? errno : ENOSPC;
    if (written == static_cast<ssize_t>(text.size())) {
        if (::fdatasync(fd_) == 0) return;
        error = errno;
    }
    // Whatever part of the line reached the file goes again, so the log stays a list of whole lines.
    if (written > 0 && ::ftruncate(fd_, before.st_size) == 0) ::fdatasync(fd_);
    logFailed(path_, error);
}

} // namespace orb
