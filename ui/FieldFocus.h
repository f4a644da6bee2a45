#pragma once

#include <functional>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QLineEdit;
class QWidget;

namespace orb {

/// Gives text fields the focus behaviour of the program: the whole text is selected when a field gains
/// the focus, by the keyboard or by a click, the field's rule runs once the focus has moved on, and a
/// double-click opens the row's dialog. A rule that refuses a text shows a modal box and pulls the focus
/// back, which makes the field that had just gained the focus lose it again; that field's rule runs too (the
/// on/off-name rules rely on it), but a second refusal in such a chain does not pull the focus a third time,
/// so two wrong fields never bounce the focus between them for ever.
///
/// A command must not wait for that turn: a click on a button runs it before the rule of the field it took
/// the focus from, and a key, the close box or a drop starts it with the focus still in the field. Every
/// command therefore asks leaveForCommand first.
class FieldFocus : public QObject {
  public:
    /// Runs the rule of a field that is left; false when the rule refused the text.
    using Leave = std::function<bool()>;

    explicit FieldFocus(QObject* parent);

    /// Watches a control whose text is edited in edit (the control itself, or an editable combo's field).
    void watch(QWidget* control, QLineEdit* edit, Leave leave, std::function<void()> doubleClick = {});

    /// Puts the focus back into a refused field, with its whole text selected.
    void returnFocus(QWidget* field);

    /// Runs a move that may take the focus from a field on the way back to a refused one (a page change).
    void whileReturning(const std::function<void()>& move);

    /// Runs, before a command starts, the rules of the fields that were left but whose turn has not come
    /// yet, then that of the field that still has the focus. Tells whether the command may start: false
    /// once a rule refused a text (its box was shown and the focus is back in its field).
    bool leaveForCommand();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Watched {
        QLineEdit* edit;
        Leave leave;
        std::function<void()> doubleClick;
    };

    struct PendingLeave {
        Leave leave;
        bool chained; ///< the focus left the field on its way back to a refused one
    };

    void scheduleLeave(const Leave& leave);
    /// Runs the oldest rule waiting for its turn; false when it refused.
    bool runNextLeave();
    /// The watched field that has its window's focus, also while another window is active.
    const Watched* focusedField() const;

    QHash<QObject*, Watched> watched_;
    QList<PendingLeave> pending_;
    QPointer<QLineEdit> clickedInto_; ///< a field that a mouse press has just given the focus
    bool returning_ = false;          ///< inside returnFocus or whileReturning
    bool leaveScheduled_ = false;     ///< a focus return made a field schedule its rule
    bool inChainLeave_ = false;       ///< running a rule whose focus-out a focus return caused
};

} // namespace orb
