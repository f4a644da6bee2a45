#include "ui/PagesLocked.h"

#include "ui/FieldFocus.h"

#include <QTabWidget>

namespace orb {

PagesLocked::PagesLocked(QTabWidget* tabs, FieldFocus& focus, std::function<void(bool)> showCommands)
    : tabs_(tabs), focus_(focus), showCommands_(std::move(showCommands)),
      focused_(tabs->window()->focusWidget()) {
    setPagesEnabled(false);
    showCommands_(true);
}

PagesLocked::~PagesLocked() {
    setPagesEnabled(true);
    showCommands_(false);
    // A box shown during the exchange gave the focus, on its way out, to whatever came first.
    if (refused_)
        focus_.returnFocus(refused_);
    else if (focused_ && focused_->isVisible() && focused_->isEnabled())
        focused_->setFocus(Qt::OtherFocusReason);
}

void PagesLocked::setPagesEnabled(bool enabled) {
    for (int page = 0; page < tabs_->count(); ++page)
        tabs_->widget(page)->setEnabled(enabled);
}

} // namespace orb
