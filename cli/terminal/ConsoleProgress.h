#pragma once

#include "common/Progress.h"

#include <chrono>
#include <functional>
#include <ostream>

namespace orb {

/// The progress window on a terminal: each message on a line of its own, the blocks of a transfer as a
/// bar redrawn in place with the time left, and at the end of a transfer a line with what it moved.
/// Its Storno is Ctrl+C, which reaches the link as a stop signal.
class ConsoleProgress : public Progress {
  public:
    using Clock = std::chrono::steady_clock;

    /// Writes on out, with the bar only when drawBar (a terminal) as wide as columns tells (asked at each
    /// redraw: the terminal may be resized).
    ConsoleProgress(
        std::ostream& out, bool drawBar, std::function<int()> columns = [] { return 80; });

    void showProgress(const std::string& message, bool withStorno) override;
    void hideProgress() override;
    void setProgressValue(int done, int total) override;
    void transferEnded(const TransferCounts& counts) override;

  private:
    void endBar();

    std::ostream& out_;
    bool drawBar_;
    std::function<int()> columns_;
    int shownPercent_ = -1;
    Clock::time_point shownAt_ = Clock::now();
};

} // namespace orb
