#include "link/qt/QtWaiter.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace orb {

QtWaiter::QtWaiter() {
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
}

Waiter::Clock::time_point QtWaiter::now() const {
    return Clock::now();
}

void QtWaiter::processEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtWaiter::waitForEvents(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now());
    if (left.count() <= 0) return processEvents();
    deadline_.start(left);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    deadline_.stop();
}

} // namespace orb
