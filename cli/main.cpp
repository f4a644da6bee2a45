// orbctl: the unit's configuration on the command line, with the window program's own rules and codec.
#include "cli/CliError.h"
#include "cli/CommandLine.h"
#include "cli/FileCommands.h"
#include "cli/qt/DeviceCommands.h"

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
        return orb::RunPorts(std::cout);
    }
    return orb::ExitStatus::Usage;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const orb::CommandLine line = orb::ParseCommandLine({argv + 1, argv + argc});
        if (line.help) {
            std::cout << orb::HelpText(line.command);
            return 0;
        }
        if (line.version) {
            std::cout << orb::VersionText();
            return 0;
        }
        return static_cast<int>(runCommand(line));
    } catch (const orb::CliError& error) {
        std::cerr << "orbctl: " << error.what() << std::endl;
        return static_cast<int>(error.status());
    } catch (const std::exception& error) {
        std::cerr << "orbctl: " << error.what() << std::endl;
        return static_cast<int>(orb::ExitStatus::Failure);
    }
}
