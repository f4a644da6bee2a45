#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orb {

enum class Command { Show, Export, Import, Diff, Read, Write, Schema };

/// What the user asked orbctl to do, checked against what the command accepts.
struct CommandLine {
    std::optional<Command> command; ///< nothing: only the program's help was asked for
    bool help = false;
    std::vector<std::string> files; ///< the command's file operands, in order
    std::optional<std::string> output;
    std::optional<int> port;   ///< 1..4, "COM n"
    std::optional<int> memory; ///< one of the unit memory sizes 128..65536
    bool noVerify = false;
};

/// Parses the arguments that follow the program name; throws CliError(Usage) on anything it cannot take.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

/// Returns the help text of the program (no command) or of one command.
std::string HelpText(std::optional<Command> command);

} // namespace orb
