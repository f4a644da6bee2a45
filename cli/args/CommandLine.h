#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orb {

enum class Command { Show, Export, Import, Diff, Read, Write, Schema, Ports, Series };

/// The port --port names: "COM n" by its number, or a serial device by its path.
struct PortArgument {
    int comNumber = 0;    ///< 1..4, or 0 when a device is named
    std::string device{}; ///< the device's path when no number is given

    bool operator==(const PortArgument&) const = default;
};

/// What the user asked orbctl to do, checked against what the command accepts.
struct CommandLine {
    std::optional<Command> command; ///< nothing: only the program's help or version was asked for
    bool help = false;
    bool version = false;
    std::vector<std::string> files; ///< the command's file operands, in order
    std::optional<std::string> output;
    std::optional<PortArgument> port;
    std::optional<int> memory;  ///< one of the unit memory sizes 128..65536
    std::optional<int> timeout; ///< seconds the activation waits for the unit's answer; none: no limit
    bool noVerify = false;
    std::optional<std::string> backup; ///< write: where what the unit holds is saved before the write
    bool force =
        false; ///< write: writes also values out of their rules, and with --backup a unit without settings
    bool settingsOnly = false; ///< read, write, diff --port: only the blocks the image covers
    bool verify = false;       ///< read, diff --port: the memory read twice and compared
    bool strict = false;       ///< import, series: refuses a value its rules would correct
    bool json = false;         ///< ports: as JSON for scripts
    // series
    std::vector<PortArgument> ports;      ///< every --port, in order (port is the last)
    std::optional<std::string> units;     ///< UNITS.csv: one row of settings per unit
    std::optional<std::string> log;       ///< the CSV log appended to after each unit
    std::optional<int> count;             ///< units to program with the template alone
    std::optional<std::string> backupDir; ///< where each unit's memory is saved before its write
    bool acceptCorrections = false;       ///< series: takes a value as its rules correct it
    bool again = false;                   ///< series: programs the rows the log records as done anew
    bool dryRun = false;                  ///< series: prints what each row would write, opens no port
};

/// The most ports one series serves at once, each by a process of its own.
inline constexpr std::size_t MaxSeriesPorts = 16;

/// Parses the arguments that follow the program name; throws CliError(Usage) on anything it cannot take.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

} // namespace orb
