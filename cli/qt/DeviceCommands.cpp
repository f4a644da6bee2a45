#include "cli/qt/DeviceCommands.h"

#include "cli/ConsoleProgress.h"
#include "cli/FileAccess.h"
#include "cli/FileCommands.h"
#include "cli/PortTable.h"
#include "cli/Workspace.h"
#include "image/CodecMessages.h"
#include "link/DeviceLink.h"
#include "link/LinkMessages.h"
#include "link/LinkState.h"
#include "link/PortChoice.h"
#include "link/qt/DetectSerialPorts.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "print/ReportLines.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <QCoreApplication>
#include <unistd.h>

namespace orb {

namespace lm = link_messages;

namespace {

/// Set by the first Ctrl+C; the progress reads it as the Storno button. A second Ctrl+C ends the program.
std::atomic<bool> interruptRequested{false};

extern "C" void onInterrupt(int) {
    interruptRequested = true;
}

void catchFirstInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

bool shown(const std::vector<ShownBox>& boxes, std::string_view text) {
    return std::any_of(boxes.begin(), boxes.end(),
                       [text](const ShownBox& box) { return box.message.text == text; });
}

/// The window's device part on a terminal: the unit on COM n, its boxes and progress on standard error.
/// Each step returns what it means for orbctl's exit status; the boxes have told the user the details.
class DeviceSession {
  public:
    DeviceSession(const CommandLine& line, std::ostream& err)
        : err_(err), app_(argc_, argv_), progress_(err, ::isatty(STDERR_FILENO) == 1, interruptRequested),
          link_(workspace_.form, *workspace_.image, progress_, port_, waiter_) {
        workspace_.form.setChoice(ChoiceField::tabPort, choosePort(*line.port));
        workspace_.form.setFlag(FlagField::CheckWrite, 0, !line.noVerify);
        catchFirstInterrupt();
    }

    Workspace& workspace() { return workspace_; }

    /// Switches the unit into programming mode: Success when it may be programmed, Refused when it is
    /// the wrong product or firmware (it is then switched off again), Failure when it was not reached.
    ExitStatus activate() {
        const PortChoice& port = link_.ports().at(workspace_.form.options().tabPort);
        const std::string device = port.device();
        const std::string prefix =
            "orbctl: " + (port.name() == device ? device : port.name() + " (" + device + ")") + ": ";
        workspace_.view.setEcho(err_, prefix);
        link_.onDeaClicked();
        // The window's message says only that the port would not open; a terminal user wants to know why.
        if (shown(workspace_.view.takeBoxes(), lm::cannotOpenPort(port.name())))
            err_ << prefix << port_.openError() << std::endl;
        if (!connected()) return ExitStatus::Failure;
        if (workspace_.form.display().btEEPROMLoadEnabled) return ExitStatus::Success;
        return finish(ExitStatus::Refused);
    }

    /// Reads the unit into the form; a decoding error counts as a failed read.
    ExitStatus load() {
        link_.loadFromUnit();
        const auto boxes = workspace_.view.takeBoxes();
        return shown(boxes, lm::ReadDone) && !shown(boxes, DecodeErrorText) ? ExitStatus::Success
                                                                            : ExitStatus::Failure;
    }

    /// Writes the form into the unit; a check that stopped the write before anything was sent is a refusal.
    ExitStatus save() {
        link_.saveToUnit();
        const auto boxes = workspace_.view.takeBoxes();
        if (shown(boxes, lm::WriteDone)) return ExitStatus::Success;
        const bool failed = !connected() || shown(boxes, lm::WriteBlockFailed) ||
                            shown(boxes, lm::WriteCancelled) || shown(boxes, lm::MemorySizeUnknown);
        return failed ? ExitStatus::Failure : ExitStatus::Refused;
    }

    /// Takes a unit still in programming mode out of it; a failed deactivation turns success into Failure.
    ExitStatus finish(ExitStatus status) {
        if (connected()) link_.onDeaClicked();
        workspace_.view.takeBoxes();
        return connected() && status == ExitStatus::Success ? ExitStatus::Failure : status;
    }

  private:
    /// Returns the index in the port list of the port that --port names: "COM n", or the device, which
    /// stands as the COM n it is reachable as when it is one and is added to the list otherwise.
    int choosePort(const PortArgument& port) {
        if (port.comNumber != 0) return port.comNumber - 1;
        if (const std::optional<int> com = ComNumberOf(port.device)) return *com - 1;
        link_.setPorts(PortChoices({{.device = port.device}}));
        return static_cast<int>(link_.ports().size()) - 1;
    }

    bool connected() const { return workspace_.form.display().btDEA == DeactivateCaption; }

    static inline int argc_ = 1;
    static inline char programName_[] = "orbctl";
    static inline char* argv_[] = {programName_, nullptr};

    std::ostream& err_;
    QCoreApplication app_;
    Workspace workspace_;
    ConsoleProgress progress_;
    QtSerialPort port_;
    QtWaiter waiter_;
    DeviceLink link_;
};

} // namespace

ExitStatus RunRead(const CommandLine& line, std::ostream& out, std::ostream& err) {
    // A transfer takes minutes on a large unit: learn first that its result can be saved.
    if (line.output) CheckOutputWritable(*line.output);
    DeviceSession session(line, err);
    if (ExitStatus status = session.activate(); status != ExitStatus::Success) return status;
    const ExitStatus status = session.finish(session.load());
    if (status != ExitStatus::Success) return status;

    Workspace& workspace = session.workspace();
    if (line.output) {
        SaveImageBytes(*line.output, *workspace.image,
                       EncodeSettings(workspace.form.record(), *workspace.image));
        return status;
    }
    for (const std::string& text : ReportLines(workspace.form.record()))
        out << text << '\n';
    return status;
}

ExitStatus RunPorts(std::ostream& out) {
    out << PortTable(ReachablePorts(DetectSerialPorts()));
    return ExitStatus::Success;
}

ExitStatus RunUnitDiff(const CommandLine& line, std::ostream& out, std::ostream& err) {
    Workspace file;
    LoadSettingsFrom(line.files[0], file, err);
    DeviceSession session(line, err);
    if (ExitStatus status = session.activate(); status != ExitStatus::Success) return status;
    if (ExitStatus status = session.finish(session.load()); status != ExitStatus::Success) return status;
    return ListDifferences(WorkspaceJson(file), WorkspaceJson(session.workspace()), out);
}

ExitStatus RunWrite(const CommandLine& line, std::ostream&, std::ostream& err) {
    DeviceSession session(line, err);
    LoadSettingsFrom(line.files[0], session.workspace(), err);
    if (ExitStatus status = session.activate(); status != ExitStatus::Success) return status;
    return session.finish(session.save());
}

} // namespace orb
