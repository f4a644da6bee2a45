#include "cli/terminal/TransferSummary.h"

#include "common/CzechNumbers.h"
#include "link/LineSpeed.h"

#include <cmath>

namespace orb {

std::string TransferSummary(const TransferCounts& counts, Seconds elapsed) {
    const double seconds = elapsed.count();
    const long long share = seconds > 0 ? std::llround(100 * LineSeconds(counts.lineBytes) / seconds) : 0;
    return std::to_string(counts.bytes) + " B, " + std::to_string(counts.blocks) + " " +
           std::string(CzechPlural(counts.blocks, "blok", "bloky", "bloků")) + ", " +
           std::to_string(counts.retries) + " opakování, " + CzechDecimal(seconds, 1) + " s, " +
           std::to_string(share) + " % linky";
}

std::string TimeLeft(Seconds elapsed, int done, int total) {
    if (done <= 0 || total < done) return "";
    const auto left = std::llround(elapsed.count() * (total - done) / done);
    const std::string secondsPart = std::to_string(left % 60);
    return "zbývá " + std::to_string(left / 60) + ":" + (secondsPart.size() < 2 ? "0" : "") + secondsPart;
}

} // namespace orb
