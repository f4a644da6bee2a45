#include "cli/SeriesLog.h"

#include "cli/CliError.h"
#include "cli/SeriesCsv.h"
#include "common/CzechNumbers.h"
#include "files/SystemErrorText.h"

#include <cerrno>
#include <charconv>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace orb {

namespace {

const std::vector<std::string> Columns = {
    "čas",   "port",  "řádek",     "první sloupec",   "výrobek",  "firmware",
    "paměť", "modem", "SHA-256",   "kontrola zápisu", "výsledek", "naprogramováno",
    "bajty", "bloky", "opakování", "trvání (s)",      "záloha"};

std::string yesNo(bool value) {
    return value ? "ano" : "ne";
}

std::string decimal(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3).ptr;
    return std::string(text, end);
}

template <typename Number> Number numberField(const std::string& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw CliError(ExitStatus::Failure, "záznam série má místo čísla '" + text + "'");
    return value;
}

[[noreturn]] void logFailed(const std::string& path, int error) {
    throw CliError(ExitStatus::Failure, "Do protokolu '" + path + "' nelze zapisovat. " +
                                            DescribeSystemError({error, std::generic_category()}));
}

} // namespace

std::vector<std::string> RecordFields(const SeriesRecord& r) {
    return {r.time,
            r.port,
            r.row > 0 ? std::to_string(r.row) : "",
            r.label,
            r.product,
            r.firmware,
            r.memory,
            r.modem,
            r.imageSha256,
            yesNo(r.verify),
            r.outcome,
            yesNo(r.programmed),
            std::to_string(r.counts.bytes),
            std::to_string(r.counts.blocks),
            std::to_string(r.counts.retries),
            decimal(r.seconds),
            r.backup};
}

SeriesRecord RecordFromFields(const std::vector<std::string>& f) {
    if (f.size() != Columns.size())
        throw CliError(ExitStatus::Failure, "záznam série má " + std::to_string(f.size()) + " polí");
    SeriesRecord r{f[0],          f[1],  f[2].empty() ? 0 : numberField<int>(f[2]),
                   f[3],          f[4],  f[5],
                   f[6],          f[7],  f[8],
                   f[9] == "ano", f[10], f[11] == "ano"};
    r.counts.bytes = numberField<long long>(f[12]);
    r.counts.blocks = numberField<int>(f[13]);
    r.counts.retries = numberField<int>(f[14]);
    r.seconds = numberField<double>(f[15]);
    r.backup = f[16];
    return r;
}

std::string RecordLine(const SeriesRecord& r, const std::string& rowName) {
    std::string line = r.port + ": ";
    if (!rowName.empty()) line += rowName + (r.label.empty() ? "" : " " + r.label) + ": ";
    return line + r.outcome + " (" + std::to_string(r.counts.bytes) + " B, " +
           std::to_string(r.counts.blocks) + " " +
           std::string(CzechPlural(r.counts.blocks, "blok", "bloky", "bloků")) + ", " +
           std::to_string(r.counts.retries) + " opakování, " + CzechDecimal(r.seconds, 1) + " s)";
}

std::string IsoTime(std::chrono::system_clock::time_point moment) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // strftime gives the offset as +0200; ISO 8601's extended form, which the date has, wants +02:00.
    std::string iso(text);
    iso.insert(iso.size() - 2, ":");
    return iso;
}

SeriesLog::SeriesLog(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) logFailed(path, errno);
    struct stat status {};
    if (::fstat(fd_, &status) != 0) logFailed(path, errno);
    if (status.st_size > 0) return;
    write(CsvLine(Columns));
    // A new log's name must survive a power cut too: its folder's entry is synced as well.
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

SeriesLog::~SeriesLog() {
    if (fd_ >= 0) ::close(fd_);
}

void SeriesLog::append(const SeriesRecord& record) {
    write(CsvLine(RecordFields(record)));
}

void SeriesLog::write(const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) logFailed(path_, errno);
        done += static_cast<std::size_t>(n);
    }
    if (::fdatasync(fd_) != 0) logFailed(path_, errno);
}

} // namespace orb
