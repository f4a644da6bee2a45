#pragma once

#include "common/Progress.h"

#include <atomic>
#include <chrono>
#include <ostream>

namespace orb {

/// The progress window on a terminal: each message on a line of its own, the blocks of a transfer as a
/// bar redrawn in place with the time left, and at the end of a transfer a line with what it moved.
/// Storno is the cancel request that an interrupt (Ctrl+C) raises.
class ConsoleProgress : public Progress {
  public:
    /// Writes on out, with the bar only when drawBar (a terminal); cancelRequest is the flag an interrupt
    /// handler sets (it is read and cleared here).
    ConsoleProgress(std::ostream& out, bool drawBar, std::atomic<bool>& cancelRequest);

    void showProgress(const std::string& message, bool withStorno) override;
    void hideProgress() override;
    void setProgressValue(int done, int total) override;
    bool dialogCancelled() const override;
    void transferEnded(const TransferCounts& counts) override;

  private:
    void endBar();

    std::ostream& out_;
    bool drawBar_;
    std::atomic<bool>& cancelRequest_;
    mutable bool cancelled_ = false;
    int shownPercent_ = -1;
    std::chrono::steady_clock::time_point shownAt_ = std::chrono::steady_clock::now();
};

} // namespace orb
