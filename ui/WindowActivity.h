#pragma once

#include <functional>

namespace orb {

/// What the main window is busy with: one command at a time, the entry dialogs outside every command,
/// and a stop that ends the program once nothing runs any more.
///
/// Every command and dialog passes one gate first: the rule of the field being left runs, and a value it
/// refuses starts nothing, whatever asked for the command (a button, a key, the close box, a drop). Only a
/// stop passes without it, since nobody may be there to correct the value.
///
/// A command (an exchange with the unit, a file, a question) waits for the unit or for a box in an event
/// loop of its own, so clicks and signals arrive while it runs. A second command is ignored then, and so
/// is an entry dialog, whose own loop would hold the exchange waiting underneath until it closed. A stop
/// asked for while something runs is finished by the last of them to end, on its way out.
class WindowActivity {
  public:
    /// leaveField is the gate: it runs the rule of the field being left and tells whether its value may
    /// leave it. leaveProgrammingMode, which the window runs as a command, and closeWindow are the
    /// program's last steps on a stop, called once when nothing runs.
    WindowActivity(std::function<bool()> leaveField, std::function<void()> leaveProgrammingMode,
                   std::function<void()> closeWindow);

    /// Runs command unless another command runs or the gate refuses; tells whether it ran.
    bool runCommand(const std::function<void()>& command);
    /// Runs an entry dialog or the about window unless a command runs or the gate refuses; tells whether
    /// it ran.
    bool runDialog(const std::function<void()>& dialog);
    /// Decides whether the window may close: not while a command runs, at once when the program ends
    /// already, else as the question, run as a command, says. A stop that comes during the question ends
    /// the program; the caller then closes the window.
    bool decideEnd(const std::function<bool()>& question);
    /// Ends the program once its end is decided: closes the window, which asks nothing more.
    void endProgram();
    /// Asks the program to stop: interrupt (first time only) makes whatever runs end soon; the stop is
    /// finished at once when nothing runs, else by the last command or dialog to end.
    void requestStop(const std::function<void()>& interrupt);

    bool commandRunning() const { return commandRunning_; }
    /// Tells whether a stop was asked for: nobody may be there to answer a box.
    bool stopping() const { return course_ == Course::StopAsked || course_ == Course::Stopped; }

  private:
    /// Where the program is on its way to its end.
    enum class Course {
        Open,      ///< no end asked for
        StopAsked, ///< a stop waits for whatever runs to end
        Ended,     ///< the exit was confirmed: the window closes without asking
        Stopped,   ///< the stop is finished: the unit was let go, nobody answers a box
    };

    /// Nothing runs and the field being left lets its value go (or the program stops).
    bool mayStart();
    /// Finishes a stop that waits once nothing runs any more, up to the closing of the window, which is
    /// left to the caller; tells whether it did.
    bool finishStopWhenIdle();

    std::function<bool()> leaveField_;
    std::function<void()> leaveProgrammingMode_;
    std::function<void()> closeWindow_;
    Course course_ = Course::Open;
    bool commandRunning_ = false;
    int dialogsOpen_ = 0; ///< entry dialogs, each holding the ones it opened; a command may run in the last
};

} // namespace orb
