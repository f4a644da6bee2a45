#include "ui/RowKeys.h"

#include <QKeyEvent>
#include <QWidget>

namespace orb {

RowKeys::RowKeys(OpenDialog openDialog, QObject* parent)
    : QObject(parent), openDialog_(std::move(openDialog)) {}

void RowKeys::add(QWidget* control, RowDialogKind table, int column, int row) {
    cells_.insert(control, {table, column, row});
    controls_[{table, column, row}] = control;
    control->installEventFilter(this);
}

bool RowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    const auto [table, column, row] = cells_.value(watched);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openDialog_(table, row);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const auto next = controls_.find({table, column, row + (key->key() == Qt::Key_Up ? -1 : 1)});
        if (next != controls_.end() && next->second->isEnabled()) next->second->setFocus(Qt::TabFocusReason);
        return true;
    }
    default:
        return false;
    }
}

} // namespace orb
