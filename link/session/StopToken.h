#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <utility>

namespace orb {

/// Why an exchange with the unit ends before its end.
enum class StopReason {
    Storno,     ///< the user pressed Storno
    Signal,     ///< SIGINT, SIGTERM or SIGHUP: the run is ending
    Deadline,   ///< the time given to greet the unit ran out
    SeriesDone, ///< another port wrote the series' last row while this one greeted
    Abandoned,  ///< whoever kept the series' account has ended
};

/// Tells a running exchange whether to stop and why; the link looks at it between hellos and blocks.
///
/// A request (Storno) holds until the next command begins; a lasting request (a stop signal in the
/// window) and the source (what a terminal run watches: signals, the series) hold for the rest of the
/// run; a deadline holds while it is set. The first reason a command sees stays with it to its end, so
/// whoever started it learns the reason the exchange stopped for, whatever changed since.
class StopToken {
  public:
    using Clock = std::chrono::steady_clock;
    using Source = std::function<std::optional<StopReason>()>;

    explicit StopToken(Source source = {}) : source_(std::move(source)) {}

    /// A command begins: forgets the request and the reason the last command saw.
    void begin();
    /// Asks the running command to stop at its next check point.
    void request(StopReason reason) { requested_ = reason; }
    /// Asks every command from now on to stop.
    void requestForGood(StopReason reason) { lasting_ = reason; }
    /// Stops the running command once the time point has passed; nothing lifts the deadline.
    void setDeadline(std::optional<Clock::time_point> deadline) { deadline_ = deadline; }

    /// Looks at every cause and tells the reason to stop, if any; the first one seen is kept.
    std::optional<StopReason> poll();
    /// Tells whether the running command is to stop.
    bool stopped() { return poll().has_value(); }
    /// The reason the running or last command saw, without looking again.
    std::optional<StopReason> reason() const { return seen_; }

  private:
    Source source_;
    std::optional<StopReason> requested_;
    std::optional<StopReason> lasting_;
    std::optional<Clock::time_point> deadline_;
    std::optional<StopReason> seen_;
};

} // namespace orb
