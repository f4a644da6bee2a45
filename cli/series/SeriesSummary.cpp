#include "cli/series/SeriesSummary.h"

#include "common/CzechNumbers.h"

#include <algorithm>

namespace orb {

namespace {

/// The log holds every unit; a summary line names the first ones of its group so that it stays readable.
constexpr std::size_t Named = 20;

/// The head of a line and its items in brackets: "Naprogramováno: 2 zařízení (řádek 2 A, řádek 3 B)".
std::string listed(std::string line, const std::vector<std::string>& items, const std::string& separator) {
    for (std::size_t i = 0; i < std::min(items.size(), Named); ++i)
        line += (i == 0 ? " (" : separator) + items[i];
    if (items.size() > Named) line += " a " + std::to_string(items.size() - Named) + " dalších";
    return line + (items.empty() ? "" : ")");
}

std::string rows(std::size_t count) {
    return std::to_string(count) + " " +
           std::string(CzechPlural(static_cast<long long>(count), "řádek", "řádky", "řádků"));
}

std::string units(std::size_t count) {
    return std::to_string(count) + " zařízení";
}

std::string rowText(const SeriesPlan& plan, int row) {
    const std::string& label = plan.labelOf(row);
    return plan.rowName(row) + (label.empty() ? "" : " " + label);
}

/// "COM 1 (/dev/ttyS0) v 10:15:02, řádek 5 CHATA-4": the unit by its port and the time its attempt ended.
std::string unitText(const SeriesPlan& plan, const SeriesRecord& record) {
    // ISO 8601: the time of day stands after the 'T'.
    const std::string time = record.time.size() >= 19 ? record.time.substr(11, 8) : record.time;
    return record.port + " v " + time + (record.row > 0 ? ", " + rowText(plan, record.row) : "");
}

} // namespace

std::vector<std::string> SeriesSummary(const SeriesPlan& plan, const std::vector<SeriesRecord>& records) {
    std::vector<std::string> programmed, failed, withoutSettings, unconfirmed, left;
    std::size_t recognised = 0;
    std::vector<int> programmedRows;
    for (const SeriesRecord& record : records) {
        if (record.deactivationUnconfirmed) unconfirmed.push_back(unitText(plan, record));
        if (record.programmed) {
            programmedRows.push_back(record.row);
        } else if (record.recognised()) {
            ++recognised;
        } else {
            const bool taken = record.row > 0 && plan.programmed(record.row);
            failed.push_back(unitText(plan, record) + (taken ? ", který pak dostalo jiné zařízení" : ""));
            if (record.leftWithoutSettings) withoutSettings.push_back(unitText(plan, record));
        }
    }
    // Ports finish their units in any order; the summary names rows as UNITS.csv has them.
    std::sort(programmedRows.begin(), programmedRows.end());
    for (const int row : programmedRows)
        programmed.push_back(rowText(plan, row));
    for (const int row : plan.rowsLeft())
        left.push_back(rowText(plan, row));
    std::vector<std::string> lines{listed("Naprogramováno: " + units(programmed.size()), programmed, ", ")};
    if (const std::size_t earlier = plan.rowsDoneEarlier().size(); earlier > 0)
        lines.push_back("Naprogramováno dříve (podle protokolu): " + rows(earlier));
    lines.push_back(listed("Nepodařilo se: " + units(failed.size()), failed, "; "));
    if (recognised > 0)
        lines.push_back("Poznáno jako už naprogramované a nezapsáno znovu: " + units(recognised));
    lines.push_back(
        listed("Bez platného nastavení zůstalo: " + units(withoutSettings.size()), withoutSettings, "; ") +
        (withoutSettings.empty()       ? ""
         : withoutSettings.size() == 1 ? "; uložte do něj nastavení znovu"
                                       : "; uložte do nich nastavení znovu"));
    if (!unconfirmed.empty())
        lines.push_back(listed("Deaktivaci nepotvrdilo: " + units(unconfirmed.size()), unconfirmed, "; ") +
                        "; může být stále v programovacím módu");
    lines.push_back(listed("Zatím nenaprogramováno: " + rows(left.size()), left, ", "));
    return lines;
}

std::optional<std::string> ResumeLine(const SeriesPlan& plan) {
    const std::vector<int> earlier = plan.rowsDoneEarlier();
    if (earlier.empty()) return std::nullopt;
    std::vector<std::string> done;
    for (const int row : earlier)
        done.push_back(rowText(plan, row));
    // "z" takes the genitive: "1 z 1 řádku", "1 z 3 řádků".
    const std::size_t all = plan.size();
    return listed("Podle protokolu už je naprogramováno " + std::to_string(earlier.size()) + " z " +
                      std::to_string(all) + (all == 1 ? " řádku" : " řádků"),
                  done, ", ") +
           "; zbývá " + std::to_string(plan.rowsLeft().size()) + ".";
}

bool AnyUnitLeftWithoutSettings(const std::vector<SeriesRecord>& records) {
    return std::any_of(records.begin(), records.end(),
                       [](const SeriesRecord& record) { return record.leftWithoutSettings; });
}

} // namespace orb
