#include "cli/series/SeriesCommand.h"

#include "cli/device/ChosenPort.h"
#include "cli/device/DeviceMessages.h"
#include "cli/FileAccess.h"
#include "cli/json/JsonText.h"
#include "cli/series/SeriesBackup.h"
#include "cli/series/SeriesColumns.h"
#include "cli/series/SeriesConsole.h"
#include "cli/series/SeriesCsv.h"
#include "cli/series/SeriesLedger.h"
#include "cli/series/SeriesPipe.h"
#include "cli/series/SeriesPort.h"
#include "cli/series/SeriesSource.h"
#include "cli/series/SeriesSummary.h"
#include "cli/series/SeriesWorkers.h"
#include "cli/series/Sha256.h"
#include "cli/terminal/TerminalColumns.h"
#include "cli/terminal/TerminalText.h"
#include "cli/Workspace.h"
#include "common/CzechNumbers.h"
#include "files/FileMessages.h"
#include "link/qt/StopSignals.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <QCoreApplication>
#include <unistd.h>
#include <variant>

namespace orb {

namespace {

/// Ends the series before any unit when a stop signal came while its files were read or checked.
void checkStop() {
    if (const int signal = StopSignals::stopSignal())
        throw CliError(ExitStatus::Failure,
                       stoppedBy(signal) + " Série se nespustila; do žádného zařízení se nic nezapsalo.");
}

/// The settings of the template, from a settings file or the JSON of orbctl export, read once.
Json templateJson(const std::string& path, std::ostream& err) {
    const std::string text = ReadSeriesSource(path, MaxTextFileSize, err, checkStop);
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && text[first] == '{') {
        try {
            return ParseSettingsJson(text);
        } catch (const JsonTextError& error) {
            throw CliError(ExitStatus::Refused, path + ": " + error.what());
        }
    }
    if (text.size() > EepromImage::Size) throw CliError(ExitStatus::Failure, file_messages::notAnImage(path));
    Workspace workspace;
    for (std::size_t address = 0; address < text.size(); ++address)
        workspace.image->putByte(static_cast<std::int32_t>(address),
                                 static_cast<std::uint8_t>(text[address]));
    DecodeSettingsRead(path, static_cast<std::int32_t>(text.size()), workspace, err);
    return WorkspaceJson(workspace);
}

/// The records of UNITS.csv in UTF-8, with the separator its header uses, read once.
std::vector<CsvRecord> unitRecords(const std::optional<std::string>& units, std::ostream& err) {
    if (!units) return {};
    const CsvText text = DecodeCsvText(ReadSeriesSource(*units, MaxTextFileSize, err, checkStop));
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

/// How many refusals or corrections are printed: a file given by mistake must not bury the terminal.
constexpr std::size_t MaxListed = 50;

/// Prints the first MaxListed of the lines, each with the suffix, and counts the rest.
void printListed(std::ostream& err, const std::vector<std::string>& lines, const std::string& suffix) {
    for (std::size_t i = 0; i < std::min(lines.size(), MaxListed); ++i)
        err << "orbctl: " << TerminalText(lines[i]) << suffix << '\n';
    if (lines.size() > MaxListed) {
        const std::size_t more = lines.size() - MaxListed;
        err << "orbctl: ... a ještě " << more << " "
            << CzechPlural(static_cast<long long>(more), "další", "další", "dalších") << " (vypsáno prvních "
            << MaxListed << ")\n";
    }
    err.flush();
}

/// Checks every row and builds its image before any unit is greeted; prints the corrections accepted,
/// and every refusal before refusing the series.
SeriesRowsOutcome checkedRows(const CommandLine& line, std::ostream& err) {
    if (line.units && NamesStandardInput(line.files[0]) && NamesStandardInput(*line.units))
        throw CliError(ExitStatus::Usage,
                       "standardní vstup lze číst jen jednou: šablona i --units ho zadávají");
    const Json templateSettings = templateJson(line.files[0], err);
    const std::vector<CsvRecord> records = unitRecords(line.units, err);
    SeriesRowsOutcome rows = BuildSeriesRows(templateSettings, records, {line.memory, line.acceptCorrections},
                                             {line.files[0], line.units.value_or("")});
    printListed(err, rows.corrections, " (opraveno)");
    printListed(err, rows.refusals, "");
    if (!rows.refusals.empty())
        throw CliError(ExitStatus::Refused, "série se nespustí; do žádného zařízení se nic nezapsalo");
    return rows;
}

/// Prints what each row would put into a unit: its image's size and hash and the settings in which it
/// differs from the template.
ExitStatus printDryRun(const SeriesRowsOutcome& rows, const CommandLine& line, std::ostream& out,
                       std::ostream& err) {
    for (const SeriesRow& row : rows.rows) {
        const std::string name =
            line.units ? SeriesRowName(row.number, false) + (row.label.empty() ? "" : " " + row.label)
                       : "šablona pro každý kus";
        out << TerminalText(name) << ": " << row.image.size() << " B, SHA-256 " << Sha256Hex(row.image)
            << '\n';
        for (const std::string& difference : SeriesRowDifferences(rows.templateImage, row))
            out << "  " << TerminalText(difference) << '\n';
    }
    err << "orbctl: --dry-run: nic se nezapsalo, žádný port se neotevřel." << std::endl;
    return ExitStatus::Success;
}

/// Refuses a port given twice, also as a number and as its device: its second worker could only fail.
void refuseRepeatedPorts(const std::vector<PortArgument>& ports) {
    for (std::size_t i = 0; i < ports.size(); ++i)
        for (std::size_t j = 0; j < i; ++j) {
            const PortChoice a = ChosenPort(ports[i]), b = ChosenPort(ports[j]);
            std::error_code error;
            if (a.name() == b.name() || std::filesystem::equivalent(a.device(), b.device(), error))
                throw CliError(ExitStatus::Usage, "port " + ChosenPortName(ports[i]) + " je zadán víckrát");
        }
}

SeriesPlan planOf(const std::vector<SeriesRow>& rows, const CommandLine& line) {
    std::vector<std::string> sha256;
    for (const SeriesRow& row : rows)
        sha256.push_back(Sha256Hex(row.image));
    return line.units ? SeriesPlan(rows, sha256) : SeriesPlan(rows.front(), sha256.front(), line.count);
}

SeriesOptions portOptions(const CommandLine& line) {
    return {.verify = !line.noVerify,
            .scope = line.settingsOnly ? TransferScope::SettingsOnly : TransferScope::WholeMemory,
            .timeout = line.timeout};
}

/// Every unit's memory into --backup-dir; without it, a unit that holds other valid settings into a
/// folder beside the log ("protokol-zalohy" beside "protokol.csv"), or nowhere without a log. The folder
/// is checked before any unit is greeted.
SeriesBackups backupsOf(const CommandLine& line) {
    if (line.backupDir) return {CheckBackupFolder(*line.backupDir, false), true};
    if (!line.log) return {};
    return {
        CheckBackupFolder(std::filesystem::path(*line.log).replace_extension().string() + "-zalohy", true),
        false};
}

/// Opens the log and takes from it what earlier runs did, unless --again; says what that leaves.
std::unique_ptr<SeriesLog> openLog(const CommandLine& line, SeriesPlan& plan, std::ostream& err) {
    if (!line.log) {
        err << "orbctl: Bez --log se nikde nezaznamená, co je hotovo: série spuštěná znovu naprogramuje "
               "všechny řádky znovu."
            << std::endl;
        return nullptr;
    }
    auto log = std::make_unique<SeriesLog>(*line.log);
    for (const std::string& notice : log->notices())
        err << "orbctl: " << TerminalText(notice) << std::endl;
    if (!line.again) plan.resume(log->earlierRecords());
    if (const std::optional<std::string> resumed = ResumeLine(plan))
        err << "orbctl: " << TerminalText(*resumed) << std::endl;
    return log;
}

/// Qt's application object for the device link's waits and the workers' pipes.
struct Application {
    static inline int argc = 1;
    static inline char name[] = "orbctl";
    static inline char* argv[] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

/// Serves the one port for the parent series, through standard input and output and the parent's socket.
ExitStatus serveForParent(const CommandLine& line, int parentSocket) {
    // A parent that went away must not end the worker in the middle of a block.
    std::signal(SIGPIPE, SIG_IGN);
    Application application;
    StopSignals stops;
    PipeBroker broker(STDIN_FILENO, STDOUT_FILENO, parentSocket, std::cerr);
    // The options come from the parent, which parsed the command line the technician typed.
    const auto options = broker.options();
    if (const auto* malformed = std::get_if<MalformedLine>(&options)) {
        std::cerr << "orbctl: " << TerminalText(malformed->reason) << std::endl;
        return ExitStatus::Failure;
    }
    return ServeSeriesPort(line.ports.front(), std::get<SeriesOptions>(options), broker)
               ? ExitStatus::Success
               : ExitStatus::Failure;
}

} // namespace

ExitStatus RunSeries(const CommandLine& line, std::ostream& out, std::ostream& err) {
    if (const std::optional<int> parent = SeriesParentSocket()) return serveForParent(line, *parent);
    // Caught from the first instant: a stop while the files are read ends the wait, and one at any later
    // moment ends the series with its summary.
    Application application;
    StopSignals stops;
    const SeriesRowsOutcome rows = checkedRows(line, err);
    if (line.dryRun) return printDryRun(rows, line, out, err);
    refuseRepeatedPorts(line.ports);
    const SeriesBackups backups = backupsOf(line);
    SeriesPlan plan = planOf(rows.rows, line);
    const std::unique_ptr<SeriesLog> log = openLog(line, plan, err);

    std::vector<std::string> names;
    for (const PortArgument& port : line.ports)
        names.push_back(ChosenPortName(port));
    SeriesConsole console(err, ::isatty(STDERR_FILENO) == 1, names, TerminalColumns);
    SeriesLedger ledger(plan, backups, log.get(), console);
    bool asPlanned = true;
    if (const int signal = StopSignals::stopSignal()) {
        console.line(stoppedBy(signal));
    } else if (line.ports.size() > 1) {
        asPlanned = RunSeriesWorkers(line.ports, line.files[0], portOptions(line), ledger, stops);
    } else {
        LedgerBroker broker(ledger, 0);
        asPlanned = ServeSeriesPort(line.ports.front(), portOptions(line), broker);
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
