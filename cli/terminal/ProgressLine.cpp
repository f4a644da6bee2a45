#include "cli/terminal/ProgressLine.h"

#include "settings/ImageSize.h"

#include <algorithm>
#include <cstddef>

namespace orb {

namespace {

constexpr int LongestBar = 40;
constexpr int ShortestBar = 5;
/// Room for any time left ("zbývá 123:45"), so that a shorter one overwrites a longer.
constexpr int TimeLeftWidth = 16;

/// Counts the columns a UTF-8 text takes: one per character.
int ColumnsOf(const std::string& text) {
    return static_cast<int>(CharacterCount(text));
}

std::string Padded(std::string text, int width) {
    return text + std::string(static_cast<std::size_t>(std::max(0, width - ColumnsOf(text))), ' ');
}

std::string Bar(int done, int total, int width) {
    const int filled = static_cast<int>(static_cast<long long>(width) * done / total);
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(width - filled), '.') + "] ";
}

} // namespace

std::string ProgressLine(int done, int total, const std::string& timeLeft, int columns) {
    const int room = columns - 1;
    // The widest count the transfer will show, so the line keeps its width while it runs.
    const std::string counts = std::to_string(done) + "/" + std::to_string(total);
    const int countsWidth = 2 * ColumnsOf(std::to_string(total)) + 1;
    const int withTime = room - (3 + countsWidth + 2 + TimeLeftWidth);
    if (withTime >= ShortestBar)
        return Bar(done, total, std::min(LongestBar, withTime)) + Padded(counts, countsWidth) + "  " +
               Padded(timeLeft, TimeLeftWidth);
    const int withoutTime = room - (3 + countsWidth);
    if (withoutTime >= ShortestBar)
        return Bar(done, total, std::min(LongestBar, withoutTime)) + Padded(counts, countsWidth);
    return Padded(counts, std::min(countsWidth, std::max(0, room)))
        .substr(0, static_cast<std::size_t>(std::max(0, room)));
}

} // namespace orb
