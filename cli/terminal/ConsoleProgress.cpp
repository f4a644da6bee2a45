#include "cli/terminal/ConsoleProgress.h"

#include "cli/terminal/ProgressLine.h"
#include "cli/terminal/TransferSummary.h"

#include <algorithm>
#include <string>
#include <utility>

namespace orb {

ConsoleProgress::ConsoleProgress(std::ostream& out, bool drawBar, std::function<int()> columns)
    : out_(out), drawBar_(drawBar), columns_(std::move(columns)) {}

void ConsoleProgress::showProgress(const std::string& message, bool withStorno) {
    endBar();
    shownAt_ = Clock::now();
    out_ << message << (withStorno ? " (Storno: Ctrl+C)" : "") << std::endl;
}

void ConsoleProgress::hideProgress() {
    endBar();
}

void ConsoleProgress::setProgressValue(int done, int total) {
    if (!drawBar_ || total <= 0) return;
    // A 65,536-byte unit has 8,192 blocks; redrawing once per percent keeps a log file readable.
    int percent = static_cast<int>(100LL * done / total);
    if (percent == shownPercent_) return;
    shownPercent_ = percent;
    out_ << '\r' << ProgressLine(done, total, TimeLeft(Clock::now() - shownAt_, done, total), columns_())
         << std::flush;
}

void ConsoleProgress::transferEnded(const TransferCounts& counts) {
    endBar();
    out_ << TransferSummary(counts, Clock::now() - shownAt_) << std::endl;
}

void ConsoleProgress::endBar() {
    if (shownPercent_ < 0) return;
    shownPercent_ = -1;
    out_ << std::endl;
}

} // namespace orb
