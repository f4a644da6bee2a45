#include "ui/FieldFocus.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

namespace orb {
namespace {

// A message box or a drop-down list taking the focus for a while is not the user leaving the field.
bool isLeavingField(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

FieldFocus::FieldFocus(QObject* parent) : QObject(parent) {}

void FieldFocus::watch(QWidget* control, QLineEdit* edit, Leave leave, std::function<void()> doubleClick) {
    watched_.insert(control, Watched{edit, std::move(leave), std::move(doubleClick)});
    control->installEventFilter(this);
    // The clicks into an editable drop-down list reach the field inside it.
    if (edit != control) edit->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this, control] { watched_.remove(control); });
}

void FieldFocus::returnFocus(QWidget* field) {
    QWidget* losing = field->window()->focusWidget();
    {
        const QScopedValueRollback guard(returning_, true);
        leaveScheduled_ = false;
        field->setFocus(Qt::OtherFocusReason);
        // Right after the box that reported the refusal, the window may not have the focus back from the
        // window manager yet; Qt then moves the focus without telling the fields, but the field that gives
        // it up must still run its rule.
        const auto it = watched_.constFind(losing);
        if (!leaveScheduled_ && losing != field && it != watched_.constEnd()) scheduleLeave(it->leave);
    }
    if (const auto it = watched_.constFind(field); it != watched_.constEnd()) it->edit->selectAll();
}

void FieldFocus::whileReturning(const std::function<void()>& move) {
    const QScopedValueRollback guard(returning_, true);
    move();
}

bool FieldFocus::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && object == clickedInto_) {
        // The press that gave the field the focus put the caret where it landed; a plain click selects
        // the whole text as the keyboard does, a drag keeps the part the user chose.
        if (!clickedInto_->hasSelectedText()) clickedInto_->selectAll();
        clickedInto_ = nullptr;
        return false;
    }
    const auto it = watched_.constFind(object);
    if (it == watched_.constEnd()) return false;
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (isLeavingField(reason)) it->edit->selectAll();
        if (reason == Qt::MouseFocusReason) clickedInto_ = it->edit;
        break;
    }
    case QEvent::FocusOut:
        clickedInto_ = nullptr;
        // A field disabled under the focus (an exchange with the unit locks the pages) is not left by the
        // user: the command that locked it ran its rule first.
        if (isLeavingField(static_cast<QFocusEvent*>(event)->reason()) && it->edit->isEnabled())
            scheduleLeave(it->leave);
        break;
    case QEvent::MouseButtonDblClick:
        if (it->doubleClick && static_cast<QWidget*>(object)->isEnabled()) {
            it->doubleClick();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

void FieldFocus::scheduleLeave(const Leave& leave) {
    if (returning_ && inChainLeave_) return;
    if (returning_) leaveScheduled_ = true;
    // The rule runs once the focus has settled on the next field, as the user sees it.
    pending_.append({leave, returning_});
    QTimer::singleShot(0, this, [this] { runNextLeave(); });
}

bool FieldFocus::leaveForCommand() {
    bool accepted = true;
    // A refusal pulls the focus back, which may leave another field: its rule runs too, as it would have.
    while (!pending_.isEmpty())
        accepted = runNextLeave() && accepted;
    if (!accepted) return false;
    const Watched* focused = focusedField();
    return !focused || focused->leave();
}

bool FieldFocus::runNextLeave() {
    if (pending_.isEmpty()) return true; // run early by leaveForCommand
    const PendingLeave next = pending_.takeFirst();
    const QScopedValueRollback guard(inChainLeave_, next.chained);
    return next.leave();
}

const FieldFocus::Watched* FieldFocus::focusedField() const {
    for (auto it = watched_.constBegin(); it != watched_.constEnd(); ++it) {
        const QWidget* focused = it->edit->window()->focusWidget();
        if (focused && (focused == it.key() || focused == it->edit)) return &it.value();
    }
    return nullptr;
}

} // namespace orb
