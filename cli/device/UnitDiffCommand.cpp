#include "cli/device/DeviceCommands.h"
#include "cli/device/DeviceSession.h"
#include "cli/files/FileCommands.h"
#include "cli/Workspace.h"

namespace orb {

ExitStatus RunUnitDiff(const CommandLine& line, std::ostream& out, std::ostream& err) {
    Workspace file;
    LoadSettingsFrom(line.files[0], file, err);
    DeviceSession session(line, err);
    ExitStatus read = ExitStatus::Failure;
    const ExitStatus status = session.run([&] { return read = session.load(); });
    if (read != ExitStatus::Success) return status;
    const ExitStatus differences =
        ListDifferences(WorkspaceJson(file), WorkspaceJson(session.workspace()), out);
    return status == ExitStatus::Success ? differences : status;
}

} // namespace orb
