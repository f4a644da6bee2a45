#pragma once

#include <functional>
#include <QPointer>

class QTabWidget;
class QWidget;

namespace orb {

class FieldFocus;

/// Holds the settings of the tab pages disabled while an exchange with the unit runs, so that the window
/// shows what was sent or read, and the commands that would be ignored meanwhile look so too. Each control
/// keeps its own enabled state underneath, so afterwards all is as it was. The focus goes back to the
/// field or button that had it before, or to the field that a refusal during the exchange asked for (a
/// disabled field cannot take it until then).
class PagesLocked {
  public:
    /// showCommands(true) greys the window's commands out, showCommands(false) shows them as before.
    PagesLocked(QTabWidget* tabs, FieldFocus& focus, std::function<void(bool locked)> showCommands);
    ~PagesLocked();
    PagesLocked(const PagesLocked&) = delete;
    PagesLocked& operator=(const PagesLocked&) = delete;

    /// Puts the focus into a refused field once the pages take input again.
    void returnFocusAfterwards(QWidget* field) { refused_ = field; }

  private:
    void setPagesEnabled(bool enabled);

    QTabWidget* tabs_;
    FieldFocus& focus_;
    std::function<void(bool)> showCommands_;
    QPointer<QWidget> focused_; ///< what had the focus when the exchange began
    QPointer<QWidget> refused_;
};

} // namespace orb
