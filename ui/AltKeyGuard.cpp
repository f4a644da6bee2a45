#include "ui/AltKeyGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace orb {

bool AltKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !qobject_cast<QLineEdit*>(watched)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (!(modifiers & Qt::AltModifier) || (modifiers & (Qt::ControlModifier | Qt::GroupSwitchModifier)) ||
        key->text().isEmpty() || !key->text().front().isPrint())
        return false;
    QApplication::beep();
    return true;
}

} // namespace orb
