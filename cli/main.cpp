// orbctl: the unit's configuration on the command line, with the window program's own rules and codec.
#include "cli/args/CommandLine.h"
#include "cli/args/HelpText.h"
#include "cli/CliError.h"
#include "cli/device/DeviceCommands.h"
#include "cli/files/FileCommands.h"
#include "cli/json/JsonCommands.h"
#include "cli/series/SeriesCommand.h"
#include "cli/terminal/StandardOutput.h"
#include "cli/terminal/TerminalText.h"

#include <cerrno>
#include <iostream>

namespace {

orb::ExitStatus runCommand(const orb::CommandLine& line) {
    using orb::Command;
    switch (*line.command) {
    case Command::Show:
        return orb::RunShow(line, std::cout, std::cerr);
    case Command::Export:
        return orb::RunExport(line, std::cout, std::cerr);
    case Command::Import:
        return orb::RunImport(line, std::cout, std::cerr);
    case Command::Diff:
        return line.port ? orb::RunUnitDiff(line, std::cout, std::cerr)
                         : orb::RunDiff(line, std::cout, std::cerr);
    case Command::Read:
        return orb::RunRead(line, std::cout, std::cerr);
    case Command::Write:
        return orb::RunWrite(line, std::cout, std::cerr);
    case Command::Schema:
        return orb::RunSchema(line, std::cout);
    case Command::Ports:
        return orb::RunPorts(line, std::cout);
    case Command::Series:
        return orb::RunSeries(line, std::cout, std::cerr);
    }
    return orb::ExitStatus::Usage;
}

orb::ExitStatus run(int argc, char** argv) {
    try {
        orb::StopAtFailedOutput();
        const orb::CommandLine line = orb::ParseCommandLine({argv + 1, argv + argc});
        if (line.help) {
            std::cout << orb::HelpText(line.command);
            return orb::ExitStatus::Success;
        }
        if (line.version) {
            std::cout << orb::VersionText();
            return orb::ExitStatus::Success;
        }
        return runCommand(line);
    } catch (const std::ios_base::failure&) {
        const int error = errno; // the system's reason, from the write that failed
        // Standard error flushes standard output first: that must fail in silence now.
        std::cout.exceptions(std::ios::goodbit);
        std::cerr << "orbctl: " << orb::StandardOutputFailure(error) << std::endl;
        return orb::ExitStatus::Failure;
    } catch (const orb::CliError& error) {
        std::cerr << "orbctl: " << orb::TerminalText(error.what()) << std::endl;
        return error.status();
    } catch (const std::exception& error) {
        std::cerr << "orbctl: " << orb::TerminalText(error.what()) << std::endl;
        return orb::ExitStatus::Failure;
    }
}

} // namespace

int main(int argc, char** argv) {
    const orb::ExitStatus status = run(argc, argv);
    if (const std::optional<std::string> failure = orb::CloseStandardOutput()) {
        std::cerr << "orbctl: " << *failure << std::endl;
        return static_cast<int>(orb::ExitStatus::Failure);
    }
    return static_cast<int>(status);
}
