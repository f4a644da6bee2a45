#include "cli/qt/SeriesCommand.h"

#include "cli/FileAccess.h"
#include "cli/JsonText.h"
#include "cli/qt/SeriesPort.h"
#include "cli/qt/SeriesWorkers.h"
#include "cli/SeriesColumns.h"
#include "cli/SeriesConsole.h"
#include "cli/SeriesCsv.h"
#include "cli/SeriesLedger.h"
#include "cli/SeriesPipe.h"
#include "cli/SeriesSummary.h"
#include "cli/TerminalText.h"
#include "cli/Workspace.h"
#include "link/qt/StopSignals.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <QCoreApplication>
#include <unistd.h>

namespace orb {

namespace {

/// The settings of the template, from a settings file or the JSON of orbctl export.
Json templateJson(const std::string& path, std::ostream& err) {
    const std::string text = LoadTextFile(path);
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && text[first] == '{') {
        try {
            return ParseSettingsJson(text);
        } catch (const JsonTextError& error) {
            throw CliError(ExitStatus::Refused, path + ": " + error.what());
        }
    }
    Workspace workspace;
    LoadSettingsFrom(path, workspace, err);
    return WorkspaceJson(workspace);
}

/// The records of UNITS.csv in UTF-8, with the separator its header uses.
std::vector<CsvRecord> unitRecords(const std::optional<std::string>& units, std::ostream& err) {
    if (!units) return {};
    const CsvText text = DecodeCsvText(LoadTextFile(*units));
    if (text.fromWindows1250)
        err << "orbctl: " << TerminalText(*units) << ": soubor není v UTF-8, čte se jako Windows-1250"
            << std::endl;
    try {
        return ParseCsv(text.utf8, CsvSeparatorOf(text.utf8));
    } catch (const CsvError& error) {
        throw CliError(ExitStatus::Refused,
                       CellPlace(*units, error.line(), error.column()) + ": " + error.what());
    }
}

/// Checks every row and builds its image before any unit is greeted; prints the corrections accepted,
/// and every refusal before refusing the series.
SeriesOptions seriesOptions(const CommandLine& line, std::ostream& err) {
    SeriesOptions options;
    const std::vector<CsvRecord> records = unitRecords(line.units, err);
    const SeriesRowsOutcome rows =
        BuildSeriesRows(templateJson(line.files[0], err), records, {line.memory, line.acceptCorrections},
                        {line.files[0], line.units.value_or("")});
    for (const std::string& correction : rows.corrections)
        err << "orbctl: " << TerminalText(correction) << " (opraveno)" << std::endl;
    for (const std::string& refusal : rows.refusals)
        err << "orbctl: " << TerminalText(refusal) << std::endl;
    if (!rows.refusals.empty())
        throw CliError(ExitStatus::Refused, "série se nespustí; do žádného zařízení se nic nezapsalo");
    options.rows = rows.rows;
    options.templateOnly = !line.units;
    options.verify = !line.noVerify;
    options.scope = line.settingsOnly ? TransferScope::SettingsOnly : TransferScope::WholeMemory;
    options.timeout = line.timeout;
    options.backupDir = line.backupDir;
    return options;
}

void checkBackupFolder(const std::string& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw CliError(ExitStatus::Failure, "složka záloh '" + folder + "' neexistuje");
    if (::access(folder.c_str(), W_OK) != 0)
        throw CliError(ExitStatus::Failure, "do složky záloh '" + folder + "' nelze zapisovat");
}

/// Qt's application object for the device link's waits and the workers' pipes.
struct Application {
    static inline int argc = 1;
    static inline char name[] = "orbctl";
    static inline char* argv[] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

/// Serves the one port for the parent series, through standard input and output.
ExitStatus serveForParent(const CommandLine& line, const SeriesOptions& options) {
    // A parent that went away must not end the worker in the middle of a block.
    std::signal(SIGPIPE, SIG_IGN);
    Application application;
    StopSignals stops;
    PipeBroker broker(STDIN_FILENO, std::cout);
    return ServeSeriesPort(line.ports.front(), options, broker) ? ExitStatus::Success : ExitStatus::Failure;
}

} // namespace

ExitStatus RunSeries(const CommandLine& line, std::ostream&, std::ostream& err) {
    const bool several = line.ports.size() > 1;
    if (several && (line.files[0] == "-" || line.units == "-"))
        throw CliError(ExitStatus::Usage, "s více porty musí být šablona i --units soubory, ne '-'");
    if (line.backupDir) checkBackupFolder(*line.backupDir);
    if (std::getenv(SeriesWorkerVariable)) {
        std::ostream silent(nullptr); // the parent has told the user what the rows hold
        return serveForParent(line, seriesOptions(line, silent));
    }
    const SeriesOptions options = seriesOptions(line, err);
    std::optional<SeriesLog> log;
    if (line.log) {
        log.emplace(*line.log);
        for (const std::string& notice : log->notices())
            err << "orbctl: " << TerminalText(notice) << std::endl;
    }
    SeriesPlan plan =
        options.templateOnly ? SeriesPlan(options.rows.front(), line.count) : SeriesPlan(options.rows);

    Application application;
    std::vector<std::string> names;
    for (const PortArgument& port : line.ports)
        names.push_back(SeriesPortName(port));
    SeriesConsole console(err, ::isatty(STDERR_FILENO) == 1, names);
    SeriesLedger ledger(plan, log ? &*log : nullptr, console);
    bool asPlanned = true;
    if (several) {
        std::vector<QStringList> workers;
        for (const PortArgument& port : line.ports)
            workers.push_back(WorkerArguments(line, port));
        asPlanned = RunSeriesWorkers(workers, ledger);
    } else {
        StopSignals stops;
        LedgerBroker broker(ledger, 0);
        asPlanned = ServeSeriesPort(line.ports.front(), options, broker);
        ledger.portEnded(0);
    }
    for (const std::string& text : SeriesSummary(plan, ledger.records()))
        console.line(text);
    console.close();
    // With the template alone and no count every port ends by a stop: one that ended otherwise failed.
    const bool success =
        plan.complete() && (plan.done() || asPlanned) && !AnyUnitLeftWithoutSettings(ledger.records());
    return success ? ExitStatus::Success : ExitStatus::Failure;
}

} // namespace orb
