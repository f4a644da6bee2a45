#include "cli/device/DeviceCommands.h"

#include "cli/args/ShellWord.h"
#include "cli/device/ChosenPort.h"
#include "cli/device/DeviceMessages.h"
#include "cli/device/LinkExitStatus.h"
#include "cli/device/PortJson.h"
#include "cli/device/PortTable.h"
#include "cli/FileAccess.h"
#include "cli/files/FileCommands.h"
#include "cli/terminal/ConsoleProgress.h"
#include "cli/terminal/TerminalColumns.h"
#include "cli/terminal/TerminalText.h"
#include "cli/Workspace.h"
#include "link/LinkMessages.h"
#include "link/PortChoice.h"
#include "link/qt/DetectSerialPorts.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "link/qt/StopSignals.h"
#include "link/session/UnitSession.h"
#include "link/UnitTransfer.h"
#include "settings/OutOfRuleValues.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <QCoreApplication>
#include <unistd.h>

namespace orb {

namespace lm = link_messages;

namespace {

/// A stop signal ends every exchange of the run.
std::optional<StopReason> StopOnSignal() {
    if (StopSignals::stopSignal() != 0) return StopReason::Signal;
    return std::nullopt;
}

// orbctl's own words where the window has none: a stop by a signal and the time limit of the activation
inline constexpr std::string_view DeactivatedText = "Zařízení bylo deaktivováno.";
inline constexpr std::string_view NotActivatedText = "Zařízení nebylo aktivováno.";
inline constexpr std::string_view StillActiveText = "Zařízení je zřejmě stále v programovacím módu.";

// write --backup
std::string backupSavedIn(const std::string& path, int bytes) {
    return "Obsah EEPROM zařízení (" + std::to_string(bytes) + " B) je uložen v souboru '" + path + "'.";
}
inline constexpr std::string_view NothingToBackUp =
    "Zařízení nemá platné nastavení, které by šlo zálohovat; do zařízení se nic nezapíše. Bez zálohy "
    "ho zapíše volba --force.";
inline constexpr std::string_view NothingToBackUpForced =
    "Zařízení nemá platné nastavení, které by šlo zálohovat; zápis pokračuje bez zálohy (--force).";
inline constexpr std::string_view OutOfRuleRefusal =
    "soubor má hodnoty, které pravidla polí nepovolují; do zařízení se nezapíše (zapíše ho volba --force).";
std::string restoreHint(const std::string& path) {
    return "Původní obsah zařízení je v souboru '" + path + "'; do zařízení ho vrátí příkaz:";
}

/// The window's device part on a terminal: the unit on COM n, its boxes and progress on standard error.
/// Each step returns what it means for orbctl's exit status (ExitStatusOf the link's outcome); the boxes
/// have told the user the details.
/// SIGINT, SIGTERM and SIGHUP press Storno for the rest of the run: the block in flight is finished, the
/// unit is deactivated and the run ends with Failure.
class DeviceSession {
  public:
    DeviceSession(const CommandLine& line, std::ostream& err)
        : err_(err), app_(argc_, argv_), timeout_(line.timeout),
          scope_(line.settingsOnly ? TransferScope::SettingsOnly : TransferScope::WholeMemory),
          check_(line.verify ? ReadCheck::Twice : ReadCheck::Once), verify_(!line.noVerify),
          progress_(err, ::isatty(STDERR_FILENO) == 1, TerminalColumns), port_(ChosenPort(*line.port)),
          session_(workspace_.view, *workspace_.image, progress_, stop_, serialPort_, waiter_) {
        prefix_ = "orbctl: " + ChosenPortName(*line.port) + ": ";
        workspace_.view.setEcho(err_, prefix_);
        // The unit's memory size sets the form's limits, as the window's device information does.
        session_.showUnitIn([this](const UnitState& unit) { workspace_.form.setUnitState(unit); });
    }

    Workspace& workspace() { return workspace_; }

    /// Activates the unit, runs the transfer when the unit may be programmed and deactivates it again;
    /// returns the outcome, Failure when a signal stopped the run.
    template <typename Transfer> ExitStatus run(Transfer transfer) {
        ExitStatus status = stopped() ? ExitStatus::Failure : activate();
        if (status == ExitStatus::Success && !stopped()) status = transfer();
        status = finish(status);
        if (!stopped()) return status;
        std::string state;
        if (connected())
            state = StillActiveText;
        else if (deactivated_)
            state = DeactivatedText;
        else if (!activated_)
            state = NotActivatedText;
        err_ << prefix_ << stoppedBy(StopSignals::stopSignal()) << (state.empty() ? "" : " ") << state
             << std::endl;
        return ExitStatus::Failure;
    }

    /// Reads the unit into the form; a decoding error counts as a failed read. Each value of the unit
    /// that its field's rule does not allow is named.
    ExitStatus load() {
        const LinkOutcome outcome = read(scope_, check_);
        if (outcome != LinkOutcome::Done) return ExitStatusOf(outcome);
        for (const OutOfRuleValue& value : OutOfRuleValues(workspace_.form.record()))
            say(OutOfRuleText(value));
        return ExitStatus::Success;
    }

    /// Reads the unit twice and saves what its memory holds, byte for byte, as the backup file: a backup
    /// is put back when all else failed, so it must hold exactly the unit's bytes. A unit without
    /// settings that read back whole holds nothing worth saving: Refused, or Success without a file when
    /// forced. Failure when the read or the save failed.
    ExitStatus backUp(const std::string& path, bool force) {
        const LinkOutcome outcome = read(TransferScope::WholeMemory, ReadCheck::Twice);
        if (outcome == LinkOutcome::NotProgrammed || outcome == LinkOutcome::DecodeFailed) {
            say(force ? NothingToBackUpForced : NothingToBackUp);
            return force ? ExitStatus::Success : ExitStatus::Refused;
        }
        if (outcome != LinkOutcome::Done) return ExitStatusOf(outcome);
        const int bytes = *session_.unit().memoryBytes;
        try {
            SaveImageBytes(path, *workspace_.image, bytes);
        } catch (const CliError& error) {
            err_ << "orbctl: " << TerminalText(error.what()) << std::endl;
            return error.status();
        }
        say(backupSavedIn(path, bytes));
        backupSaved_ = true;
        return ExitStatus::Success;
    }

    /// Tells whether backUp saved the unit's content.
    bool backupSaved() const { return backupSaved_; }

    /// Writes the settings of source (this session's workspace, or a file loaded into another one) into
    /// the unit, over the bytes of source's image; a check that stopped the write before anything was sent
    /// is a refusal.
    ExitStatus save(Workspace& source) {
        // A backup's read has filled the session's image buffer: the file's bytes take its place again.
        if (&source != &workspace_) *workspace_.image = *source.image;
        source.form.setFlag(FlagField::CheckWrite, 0, verify_);
        return ExitStatusOf(SaveToUnit(source.form, *workspace_.image, session_, scope_).outcome);
    }

  private:
    /// Switches the unit into programming mode: Success when it may be programmed, Refused when it is
    /// the wrong product or firmware, Failure when it was not reached.
    ExitStatus activate() {
        if (timeout_) stop_.setDeadline(StopToken::Clock::now() + std::chrono::seconds(*timeout_));
        const LinkOutcome outcome = session_.activate(port_).outcome;
        const bool timedOut = stop_.reason() == StopReason::Deadline;
        stop_.setDeadline(std::nullopt);
        // The window's message says only that the port would not open; a terminal user wants to know why.
        if (outcome == LinkOutcome::NotOpened) err_ << prefix_ << serialPort_.openError() << std::endl;
        // A unit of the wrong product or firmware is in programming mode too, and must leave it.
        activated_ = outcome == LinkOutcome::Done || outcome == LinkOutcome::Refused;
        if (!activated_ && timedOut && !stopped()) err_ << prefix_ << noAnswerWithin(*timeout_) << std::endl;
        return ExitStatusOf(outcome);
    }

    /// Takes a unit still in programming mode out of it; a failed deactivation is said on its own line and
    /// turns success into Failure.
    ExitStatus finish(ExitStatus status) {
        const bool wasConnected = connected();
        session_.leaveProgrammingMode();
        deactivated_ = wasConnected && !connected();
        if (!connected()) return status;
        if (!stopped()) say(StillActiveText);
        return status == ExitStatus::Success ? ExitStatus::Failure : status;
    }

  private:
    LinkOutcome read(TransferScope scope, ReadCheck check) {
        return LoadFromUnit(workspace_.form, *workspace_.image, progress_, session_, scope, check).outcome;
    }
    void say(std::string_view text) { err_ << prefix_ << TerminalText(text) << std::endl; }
    bool connected() const { return session_.unit().connected(); }
    static bool stopped() { return StopSignals::stopSignal() != 0; }

    static inline int argc_ = 1;
    static inline char programName_[] = "orbctl";
    static inline char* argv_[] = {programName_, nullptr};

    std::ostream& err_;
    QCoreApplication app_;
    StopSignals stopSignals_;
    std::optional<int> timeout_;
    TransferScope scope_; ///< what a read or write moves; a backup is always the whole memory
    ReadCheck check_;     ///< how often a read takes each block; a backup always twice
    bool verify_;         ///< a write reads each block back
    std::string prefix_;
    Workspace workspace_;
    ConsoleProgress progress_;
    StopToken stop_{StopOnSignal};
    PortChoice port_;
    QtSerialPort serialPort_;
    QtWaiter waiter_;
    UnitSession session_;
    bool activated_ = false;
    bool backupSaved_ = false;
    bool deactivated_ = false;
};

} // namespace

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

ExitStatus RunPorts(const CommandLine& line, std::ostream& out) {
    const std::vector<DetectedPort> ports = ReachablePorts(DetectSerialPorts());
    out << (line.json ? PortJson(ports) : PortTable(ports));
    return ExitStatus::Success;
}

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
