#pragma once

#include <chrono>

namespace orb {

/// How the device link waits on the one user-interface thread: the window keeps working, a reply or a
/// Storno click is handled as it arrives, and a silent unit costs no processor time.
class Waiter {
  public:
    using Clock = std::chrono::steady_clock;

    virtual ~Waiter() = default;
    /// Returns the current time of the clock that deadlines are measured on.
    virtual Clock::time_point now() const = 0;
    /// Processes the events that are pending now (received bytes, clicks, redraws) without waiting.
    virtual void processEvents() = 0;
    /// Sleeps until at least one event has been processed or the deadline has passed, whichever is first.
    virtual void waitForEvents(Clock::time_point deadline) = 0;
};

} // namespace orb
