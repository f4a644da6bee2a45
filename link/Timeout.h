#pragma once

#include "link/Waiter.h"

#include <chrono>
#include <optional>

namespace orb {

/// The one-shot time limit of an exchange, kept as a deadline on the waiter's clock. Starting it again
/// discards the previous limit, so a limit that ran out earlier never affects a later exchange.
class Timeout {
  public:
    explicit Timeout(const Waiter& waiter) : waiter_(waiter) {}

    /// Arms the limit to run out the given time from now; it has not elapsed yet.
    void start(std::chrono::milliseconds limit) { deadline_ = waiter_.now() + limit; }
    /// Tells whether the armed limit has run out (false before the first start).
    bool elapsed() const { return deadline_ && waiter_.now() >= *deadline_; }
    /// Returns the moment the armed limit runs out.
    Waiter::Clock::time_point deadline() const { return deadline_.value_or(waiter_.now()); }

  private:
    const Waiter& waiter_;
    std::optional<Waiter::Clock::time_point> deadline_;
};

} // namespace orb
