#pragma once

#include "cli/args/CommandLine.h"
#include "cli/args/Options.h"

#include <span>
#include <string_view>

namespace orb {

/// What one command takes: its file operands and its options.
struct CommandRules {
    Command command;
    std::string_view name;
    std::string_view synopsis;    ///< as the help and a refused line show it, within 80 columns when wrapped
    int files = 0;                ///< how many file operands it takes
    OptionSet takes{};            ///< the options it accepts besides --help and --version
    OptionSet needs{};            ///< the options it cannot do without (--port: unless --dry-run)
    bool unitForLastFile = false; ///< with --port, the unit stands in for the last file operand
    std::size_t ports = 1;        ///< how many --port it serves at once
};

/// Returns every command's rules, in the order the program's help lists them.
std::span<const CommandRules> AllCommandRules();

/// Returns the rules of the command.
const CommandRules& RulesOf(Command command);

/// Returns the rules of the command of that name; throws CliError(Usage) when there is none.
const CommandRules& RulesNamed(const std::string& name);

/// Checks the parsed line, whose options are those given, against what its command takes; throws
/// CliError(Usage) naming the first fault found.
void CheckCommandLine(const CommandRules& rules, const CommandLine& line, OptionSet given);

} // namespace orb
