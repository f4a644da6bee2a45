#include "cli/device/DeviceCommands.h"
#include "cli/device/DeviceSession.h"
#include "cli/FileAccess.h"
#include "cli/files/FileCommands.h"
#include "cli/Workspace.h"

namespace orb {

ExitStatus RunRead(const CommandLine& line, std::ostream& out, std::ostream& err) {
    // A transfer takes minutes on a large unit: learn first that its result can be saved.
    if (line.output) CheckOutputWritable(*line.output);
    DeviceSession session(line, err);
    // Settings read exactly are kept whatever happens after the read: a failed deactivation, a signal.
    ExitStatus read = ExitStatus::Failure;
    const ExitStatus status = session.run([&] { return read = session.load(); });
    if (read != ExitStatus::Success) return status;

    Workspace& workspace = session.workspace();
    if (line.output)
        SaveImageBytes(*line.output, *workspace.image,
                       EncodeSettings(workspace.form.record(), *workspace.image));
    else
        PrintReport(workspace.form.record(), out);
    return status;
}

} // namespace orb
