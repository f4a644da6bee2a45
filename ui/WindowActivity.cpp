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
    return !commandRunning_ && (stopping() || leaveField_());
}

bool WindowActivity::runCommand(const std::function<void()>& command) {
    if (!mayStart()) return false;
    {
        const Raised running(commandRunning_, true);
        command();
    }
    if (finishStopWhenIdle()) closeWindow_();
    return true;
}

bool WindowActivity::runDialog(const std::function<void()>& dialog) {
    if (!mayStart()) return false;
    {
        const Raised open(dialogsOpen_, dialogsOpen_ + 1);
        dialog();
    }
    if (finishStopWhenIdle()) closeWindow_();
    return true;
}

bool WindowActivity::decideEnd(const std::function<bool()>& question) {
    if (commandRunning_) return false;
    if (course_ == Course::Ended || course_ == Course::Stopped) return true;
    if (!mayStart()) return false;
    bool end = false;
    {
        const Raised running(commandRunning_, true);
        end = question();
    }
    // A stop that came during the question ends the program; the window is closing already.
    return finishStopWhenIdle() || end;
}

void WindowActivity::endProgram() {
    course_ = stopping() ? Course::Stopped : Course::Ended;
    closeWindow_();
}

void WindowActivity::requestStop(const std::function<void()>& interrupt) {
    if (stopping()) return;
    // After a confirmed exit the unit was dealt with already: the stop only ends what still runs.
    course_ = course_ == Course::Ended ? Course::Stopped : Course::StopAsked;
    interrupt();
    if (finishStopWhenIdle()) closeWindow_();
}

bool WindowActivity::finishStopWhenIdle() {
    if (course_ != Course::StopAsked || commandRunning_ || dialogsOpen_ > 0) return false;
    course_ = Course::Stopped;
    leaveProgrammingMode_();
    return true;
}

} // namespace orb
