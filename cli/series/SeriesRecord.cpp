#include "cli/series/SeriesRecord.h"

#include "cli/CliError.h"
#include "common/CzechNumbers.h"

#include <algorithm>
#include <charconv>
#include <ctime>

namespace orb {

namespace {

std::string yesNo(bool value) {
    return value ? "ano" : "ne";
}

std::string decimal(double value, char decimalPoint) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3).ptr;
    std::string result(text, end);
    std::replace(result.begin(), result.end(), '.', decimalPoint);
    return result;
}

template <typename Number> Number numberField(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw CliError(ExitStatus::Failure, "záznam série má místo čísla '" + text + "'");
    return value;
}

} // namespace

const std::vector<std::string>& RecordColumns() {
    static const std::vector<std::string> columns = {"čas",
                                                     "port",
                                                     "řádek",
                                                     "první sloupec",
                                                     "výrobek",
                                                     "firmware",
                                                     "paměť",
                                                     "modem",
                                                     "SHA-256",
                                                     "kontrola zápisu",
                                                     "výsledek",
                                                     "naprogramováno",
                                                     "bajty",
                                                     "bloky",
                                                     "opakování",
                                                     "trvání (s)",
                                                     "záloha",
                                                     "bez platného nastavení",
                                                     "deaktivace nepotvrzena"};
    return columns;
}

std::vector<std::string> RecordFields(const SeriesRecord& r, char decimalPoint) {
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
            decimal(r.seconds, decimalPoint),
            r.backup,
            yesNo(r.leftWithoutSettings),
            yesNo(r.deactivationUnconfirmed)};
}

SeriesRecord RecordFromFields(const std::vector<std::string>& f) {
    if (f.size() != RecordColumns().size() && f.size() != SecondRecordColumns &&
        f.size() != EarlierRecordColumns)
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
    r.leftWithoutSettings = f.size() > EarlierRecordColumns && f[17] == "ano";
    r.deactivationUnconfirmed = f.size() > SecondRecordColumns && f[18] == "ano";
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

} // namespace orb
