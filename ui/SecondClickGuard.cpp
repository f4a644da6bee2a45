#include "ui/SecondClickGuard.h"

#include <QEvent>

namespace orb {

bool SecondClickGuard::eventFilter(QObject*, QEvent* event) {
    return event->type() == QEvent::MouseButtonDblClick;
}

} // namespace orb
