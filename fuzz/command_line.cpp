// Any arguments given to orbctl, split at NUL bytes: each command line is taken or refused as wrong
// usage, never with any other outcome; what is taken names a command or asks only for help or version.
#include "cli/args/CommandLine.h"
#include "cli/args/HelpText.h"
#include "cli/args/ShellWord.h"
#include "cli/CliError.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\0')
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    orb::CommandLine line;
    try {
        line = orb::ParseCommandLine(args);
    } catch (const orb::CliError& error) {
        if (error.status() != orb::ExitStatus::Usage) __builtin_trap();
        return 0;
    }
    if (!line.command && !line.help && !line.version) __builtin_trap();
    if (orb::HelpText(line.command).empty()) __builtin_trap();
    if (line.port && !line.files.empty() && orb::WriteCommand(line.files[0], *line.port).empty())
        __builtin_trap();
    return 0;
}
