#pragma once

#include <QPointer>

class QTabWidget;
class QWidget;

namespace orb {

class FieldFocus;

/// Holds the settings of the tab pages disabled while an exchange with the unit runs, so that the window
/// shows what was sent or read. Each control keeps its own enabled state underneath, so afterwards all is
/// as it was. The focus goes back to the field that had it before, or to the field that a refusal during
/// the exchange asked for (a disabled field cannot take it until then).
class PagesLocked {
  public:
    PagesLocked(QTabWidget* tabs, FieldFocus& focus);
    ~PagesLocked();
    PagesLocked(const PagesLocked&) = delete;
    PagesLocked& operator=(const PagesLocked&) = delete;

    /// Puts the focus into a refused field once the pages take input again.
    void returnFocusAfterwards(QWidget* field) { refused_ = field; }

  private:
    void setPagesEnabled(bool enabled);

    QTabWidget* tabs_;
    FieldFocus& focus_;
    QPointer<QWidget> focused_; ///< what had the focus when the exchange began
    QPointer<QWidget> refused_;
};

} // namespace orb
