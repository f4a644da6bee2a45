#pragma once

#include "cli/series/SeriesBroker.h"
#include "cli/series/SeriesConsole.h"
#include "cli/series/SeriesLog.h"
#include "cli/series/SeriesPlan.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orb {

/// Where the memory of a unit is saved before its write.
struct SeriesBackups {
    std::optional<std::string> folder; ///< none: nowhere
    bool everyUnit = false; ///< every unit (--backup-dir), else only one that holds other valid settings
};

/// The series' own account, kept in one place for every port: which port holds which row, where the
/// units' memories are saved, the log and the lines on the terminal.
class SeriesLedger {
  public:
    /// Keeps the account in the plan, the log (none without --log) and on the console.
    SeriesLedger(SeriesPlan& plan, SeriesBackups backups, SeriesLog* log, SeriesConsole& console);

    /// Answers the unit on the port: the plan's offer, with the row held by the port until its record and
    /// the folder its memory goes to first. A unit that holds other valid settings is written only when
    /// they can be saved first.
    SeriesOffer offer(std::size_t port, const std::optional<std::string>& heldSha256);
    /// Ends the port's unit: its row is programmed or free again, then the log and the terminal get the
    /// record. Throws CliError when the log cannot be written.
    void record(std::size_t port, const SeriesRecord& record);
    /// Frees the row of a port whose work ended without a record (its process ended).
    void portEnded(std::size_t port);

    SeriesPlan& plan() { return plan_; }
    SeriesConsole& console() { return console_; }
    /// Returns the record of every unit of this run, in the order they came.
    const std::vector<SeriesRecord>& records() const { return records_; }

  private:
    SeriesPlan& plan_;
    SeriesBackups backups_;
    SeriesLog* log_;
    SeriesConsole& console_;
    std::map<std::size_t, int> heldRows_;
    std::vector<SeriesRecord> records_;
};

/// The broker of a port whose loop runs in the same process as the ledger.
class LedgerBroker : public SeriesBroker {
  public:
    LedgerBroker(SeriesLedger& ledger, std::size_t port) : ledger_(ledger), port_(port) {}

    SeriesOffer offer(const std::optional<std::string>& heldSha256) override {
        return ledger_.offer(port_, heldSha256);
    }
    void record(const SeriesRecord& record) override { ledger_.record(port_, record); }
    void status(const SeriesStatus& status) override { ledger_.console().status(port_, status); }
    void say(const std::string& text) override { ledger_.console().line(text); }
    bool seriesDone() override { return ledger_.plan().done(); }
    bool abandoned() override { return false; }

  private:
    SeriesLedger& ledger_;
    std::size_t port_;
};

} // namespace orb
