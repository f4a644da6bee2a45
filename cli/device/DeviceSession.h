#pragma once

#include "cli/args/CommandLine.h"
#include "cli/CliError.h"
#include "cli/device/ChosenPort.h"
#include "cli/device/DeviceMessages.h"
#include "cli/device/LinkExitStatus.h"
#include "cli/FileAccess.h"
#include "cli/terminal/ConsoleProgress.h"
#include "cli/terminal/TerminalColumns.h"
#include "cli/terminal/TerminalText.h"
#include "cli/Workspace.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "link/qt/StopSignals.h"
#include "link/session/UnitSession.h"
#include "link/UnitTransfer.h"
#include "settings/OutOfRuleValues.h"

#include <chrono>
#include <optional>
#include <ostream>
#include <QCoreApplication>
#include <string>
#include <string_view>
#include <unistd.h>

namespace orb {

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
        const SessionResult activation = session_.activate(port_);
        const LinkOutcome outcome = activation.outcome;
        const bool timedOut = activation.stoppedBy == StopReason::Deadline;
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
    /// A stop signal ends every exchange of the run.
    static std::optional<StopReason> stopOnSignal() {
        if (StopSignals::stopSignal() != 0) return StopReason::Signal;
        return std::nullopt;
    }
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
    StopToken stop_{stopOnSignal};
    PortChoice port_;
    QtSerialPort serialPort_;
    QtWaiter waiter_;
    UnitSession session_;
    bool activated_ = false;
    bool backupSaved_ = false;
    bool deactivated_ = false;
};

} // namespace orb
