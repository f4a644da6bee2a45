#include "cli/args/CommandRules.h"

#include "cli/args/UsageError.h"

#include <algorithm>

namespace orb {

namespace {

constexpr CommandRules Commands[] = {
    {.command = Command::Show, .name = "show", .synopsis = "show SOUBOR.eep", .files = 1},
    {.command = Command::Export,
     .name = "export",
     .synopsis = "export SOUBOR.eep [-o SOUBOR.json]",
     .files = 1,
     .takes = {Output}},
    {.command = Command::Import,
     .name = "import",
     .synopsis = "import SOUBOR.json -o SOUBOR.eep [--memory BAJTY] [--strict]",
     .files = 1,
     .takes = {Output, Memory, Strict},
     .needs = {Output}},
    {.command = Command::Diff,
     .name = "diff",
     .synopsis = "diff A.eep B.eep | diff A.eep --port PORT [--settings-only] [--verify] "
                 "[--timeout SEKUNDY]",
     .files = 2,
     .takes = {Port, Timeout, SettingsOnly, Verify},
     .unitForLastFile = true},
    {.command = Command::Read,
     .name = "read",
     .synopsis = "read --port PORT [-o SOUBOR.eep] [--settings-only] [--verify] [--timeout SEKUNDY]",
     .takes = {Output, Port, Timeout, SettingsOnly, Verify},
     .needs = {Port}},
    {.command = Command::Write,
     .name = "write",
     .synopsis = "write SOUBOR.eep --port PORT [--no-verify] [--settings-only] [--backup ZÁLOHA.eep] "
                 "[--force] [--timeout SEKUNDY]",
     .files = 1,
     .takes = {Port, Timeout, NoVerify, Backup, Force, SettingsOnly},
     .needs = {Port}},
    {.command = Command::Schema, .name = "schema", .synopsis = "schema [-o SOUBOR.json]", .takes = {Output}},
    {.command = Command::Ports, .name = "ports", .synopsis = "ports [--json]", .takes = {Json}},
    {.command = Command::Series,
     .name = "series",
     .synopsis =
         "series ŠABLONA --port PORT [--port PORT ...] [--units JEDNOTKY.csv] "
         "[--log PROTOKOL.csv [--again]] [--count N] [--backup-dir SLOŽKA] [--accept-corrections] "
         "[--strict] [--no-verify] [--settings-only] [--memory BAJTY] [--timeout SEKUNDY] [--dry-run]",
     .files = 1,
     .takes = {Port, Memory, Timeout, NoVerify, SettingsOnly, Strict, Units, Log, Count, BackupDir,
               AcceptCorrections, Again, DryRun},
     .needs = {Port},
     .ports = MaxSeriesPorts},
};

void refuseOperands(const CommandRules& rules) {
    RefuseUsage("příkaz " + std::string(rules.name) + " se zadává takto: orbctl " +
                std::string(rules.synopsis));
}

/// Refuses an option the command does not take, options that do not go together, and a backup with no file
/// to name.
void checkOptions(const CommandRules& rules, const CommandLine& line, OptionSet given) {
    const auto refuseUntaken = [&rules, given](std::initializer_list<OptionId> options) {
        for (const OptionId option : options)
            if (given.has(option) && !rules.takes.has(option))
                RefuseUsage("volba " + OptionSpelling(option) + " nepatří k příkazu " +
                            std::string(rules.name));
    };
    // The checks keep one order, so that a line with several faults is always told the same one.
    refuseUntaken({Output, Port, Memory});
    if (line.ports.size() > MaxSeriesPorts)
        RefuseUsage("série obslouží nejvýše " + std::to_string(MaxSeriesPorts) + " portů najednou, ne " +
                    std::to_string(line.ports.size()));
    if (line.ports.size() > rules.ports) RefuseUsage("volba --port je zadána víckrát");
    refuseUntaken({Units, Log, Count, BackupDir, AcceptCorrections, Again, DryRun});
    if (line.again && !line.log) RefuseUsage("volba --again patří k volbě --log");
    if (line.strict && line.acceptCorrections)
        RefuseUsage("volby --strict a --accept-corrections se vylučují");
    if (line.count && line.units) RefuseUsage("volba --count patří k sérii bez --units");
    refuseUntaken({Timeout, NoVerify, Backup, Force, SettingsOnly});
    if (line.settingsOnly && !line.port) RefuseUsage("volba --settings-only patří k volbě --port");
    refuseUntaken({Verify});
    if (line.verify && !line.port) RefuseUsage("volba --verify patří k volbě --port");
    refuseUntaken({Strict, Json});
    // The printed command that puts a backup back into the unit needs a file to name.
    if (line.backup && (line.backup->empty() || *line.backup == "-"))
        RefuseUsage("volba --backup potřebuje jméno souboru");
}

void checkOperands(const CommandRules& rules, const CommandLine& line, OptionSet given) {
    const int files = rules.files - (rules.unitForLastFile && line.port ? 1 : 0);
    if (static_cast<int>(line.files.size()) != files) refuseOperands(rules);
    // Standard input can be read only once.
    if (std::ranges::count(line.files, "-") > 1) RefuseUsage("standardní vstup (-) lze zadat jen jednou");
    if (rules.needs.has(Output) && !given.has(Output))
        RefuseUsage("příkaz " + std::string(rules.name) + " potřebuje -o");
    // A dry run opens no port.
    if (rules.needs.has(Port) && !given.has(Port) && !given.has(DryRun))
        RefuseUsage("příkaz " + std::string(rules.name) + " potřebuje --port PORT");
}

} // namespace

std::span<const CommandRules> AllCommandRules() {
    return Commands;
}

const CommandRules& RulesOf(Command command) {
    return *std::ranges::find(Commands, command, &CommandRules::command);
}

const CommandRules& RulesNamed(const std::string& name) {
    const auto* rules = std::ranges::find(Commands, name, &CommandRules::name);
    if (rules == std::end(Commands)) RefuseUsage("neznámý příkaz '" + name + "'");
    return *rules;
}

void CheckCommandLine(const CommandRules& rules, const CommandLine& line, OptionSet given) {
    checkOptions(rules, line, given);
    // Help and version need no operands.
    if (!given.has(Help) && !given.has(Version)) checkOperands(rules, line, given);
}

} // namespace orb
