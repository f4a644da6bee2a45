#include "ui/WindowActivity.h"

#include <utility>

namespace orb {
namespace {

/// Gives a member another value for one scope, also when the scope ends with an exception.
template <typename T> class Raised {
  public:
    Raised(T& value, T during) : value_(value), before_(value) { value_ = during; }
    ~Raised() { value_ = before_; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

  private:
    T& value_;
    T before_;
};

} // namespace

WindowActivity::WindowActivity(std::function<bool()> leaveField, std::function<void()> leaveProgrammingMode,
                               std::function<void()> closeWindow)
    : leaveField_(std::move(leaveField)), leaveProgrammingMode_(std::move(leaveProgrammingMode)),
      closeWindow_(std::move(closeWindow)) {}

bool WindowActivity::mayStart() {
    return !commandRunning_ && (stopRequested_ || leaveField_());
}

bool WindowActivity::runCommand(const std::function<void()>& command) {
    if (!mayStart()) return false;
    {
        const Raised running(commandRunning_, true);
        command();
    }
    finishStopWhenIdle();
    return true;
}

bool WindowActivity::runDialog(const std::function<void()>& dialog) {
    if (!mayStart()) return false;
    {
        const Raised open(dialogsOpen_, dialogsOpen_ + 1);
        dialog();
    }
    finishStopWhenIdle();
    return true;
}

bool WindowActivity::decideEnd(const std::function<bool()>& question) {
    if (commandRunning_) return false;
    if (ending_) return true;
    bool end = false;
    {
        const Raised deciding(deciding_, true);
        runCommand([&] { end = question(); });
    }
    return end || ending_;
}

void WindowActivity::endProgram() {
    ending_ = true;
    closeWindow_();
}

void WindowActivity::requestStop(const std::function<void()>& interrupt) {
    if (stopRequested_) return;
    stopRequested_ = true;
    interrupt();
    finishStopWhenIdle();
}

void WindowActivity::finishStopWhenIdle() {
    if (!stopRequested_ || commandRunning_ || dialogsOpen_ > 0 || ending_) return;
    ending_ = true;
    leaveProgrammingMode_();
    // Inside decideEnd the caller closes the window; a close from in here would re-enter that close.
    if (!deciding_) closeWindow_();
}

} // namespace orb
