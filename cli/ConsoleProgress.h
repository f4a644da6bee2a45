#pragma once

#include "common/Progress.h"

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>

namespace orb {

/// The progress window on a terminal: each message on a line of its own, the blocks of a transfer as a
/// bar redrawn in place with the time left, and at the end of a transfer a line with what it moved.
/// Its Storno is a stop request from outside (a signal), which holds for the rest of the run, or a
/// deadline that has passed.
class ConsoleProgress : public Progress {
  public:
    using Clock = std::chrono::steady_clock;

    /// Writes on out, with the bar only when drawBar (a terminal) as wide as columns tells (asked at each
    /// redraw: the terminal may be resized); stopRequested tells whether the run is to stop.
    ConsoleProgress(
        std::ostream& out, bool drawBar, std::function<bool()> stopRequested,
        std::function<int()> columns = [] { return 80; });

    void showProgress(const std::string& message, bool withStorno) override;
    void hideProgress() override;
    void setProgressValue(int done, int total) override;
    bool dialogCancelled() const override;
    void transferEnded(const TransferCounts& counts) override;

    /// Presses Storno once the deadline has passed (a time limit on the activation); nothing lifts it.
    void setDeadline(std::optional<Clock::time_point> deadline) { deadline_ = deadline; }
    /// Tells whether Storno came from the deadline rather than from a stop request.
    bool deadlinePassed() const { return deadlinePassed_; }

  private:
    void endBar();

    std::ostream& out_;
    bool drawBar_;
    std::function<bool()> stopRequested_;
    std::function<int()> columns_;
    std::optional<Clock::time_point> deadline_;
    mutable bool deadlinePassed_ = false;
    int shownPercent_ = -1;
    Clock::time_point shownAt_ = Clock::now();
};

} // namespace orb
