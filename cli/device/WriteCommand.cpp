#include "cli/args/ShellWord.h"
#include "cli/CliError.h"
#include "cli/device/DeviceCommands.h"
#include "cli/device/DeviceMessages.h"
#include "cli/device/DeviceSession.h"
#include "cli/FileAccess.h"
#include "cli/Workspace.h"
#include "link/qt/StopSignals.h"
#include "settings/OutOfRuleValues.h"

#include <filesystem>
#include <string>

namespace orb {

namespace {

/// Refuses, unless forced, a file whose values break their fields' rules: the window would never have
/// let them in, and the unit would run with them.
void requireWithinRules(const CommandLine& line, const Workspace& file) {
    if (!line.force && !OutOfRuleValues(file.form.record()).empty())
        throw CliError(ExitStatus::Refused, line.files[0] + ": " + std::string(OutOfRuleRefusal));
}

/// Saves what the unit holds before the file is written into it; a write that then fails or is stopped
/// names the backup and the command that puts it back.
ExitStatus writeWithBackup(const CommandLine& line, std::ostream& err) {
    const std::string& backup = *line.backup;
    std::error_code notThere;
    if (std::filesystem::equivalent(backup, line.files[0], notThere))
        throw CliError(ExitStatus::Usage, "záloha '" + backup + "' by přepsala zapisovaný soubor");
    // Reading the unit takes minutes on a large one: learn first that its content can be saved.
    CheckOutputWritable(backup);
    Workspace file;
    LoadSettingsFrom(line.files[0], file, err);
    requireWithinRules(line, file);
    DeviceSession session(line, err);
    bool writeFailed = false; // the write began: the unit's old content is gone
    const ExitStatus status = session.run([&] {
        ExitStatus step = session.backUp(backup, line.force);
        // A stop signal during the read leaves the unit as it was: nothing is written then.
        if (step != ExitStatus::Success || StopSignals::stopSignal()) return step;
        step = session.save(file);
        writeFailed = step == ExitStatus::Failure;
        return step;
    });
    if (session.backupSaved() && writeFailed)
        err << "orbctl: " << restoreHint(backup) << "\n  " << WriteCommand(backup, *line.port) << std::endl;
    return status;
}

} // namespace

ExitStatus RunWrite(const CommandLine& line, std::ostream&, std::ostream& err) {
    if (line.backup) return writeWithBackup(line, err);
    DeviceSession session(line, err);
    LoadSettingsFrom(line.files[0], session.workspace(), err);
    requireWithinRules(line, session.workspace());
    return session.run([&session] { return session.save(session.workspace()); });
}

} // namespace orb
