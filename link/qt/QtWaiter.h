#pragma once

#include "link/Waiter.h"

#include <QTimer>

namespace orb {

/// Waits in Qt's event loop: it sleeps until an event arrives (received bytes, a click, a redraw) or
/// a precise timer marks the deadline, so the window stays alive and a silent unit costs no CPU.
class QtWaiter : public Waiter {
  public:
    QtWaiter();

    Clock::time_point now() const override;
    void processEvents() override;
    void waitForEvents(Clock::time_point deadline) override;

  private:
    QTimer deadline_; ///< only wakes the event loop; nothing listens to it
};

} // namespace orb
