#include "cli/terminal/TransferSummary.h"

#include "cli/terminal/ConsoleProgress.h"
#include "cli/terminal/ProgressLine.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace orb {
namespace {

struct SummaryCase {
    TransferCounts counts;
    double seconds;
    std::string expected;
};

TEST(TransferSummary, SaysWhatMovedInCzechWithTheShareOfTheLine) {
    // A read block takes 26 bytes on the line: at 19,200 bit/s, 256 of them take 3.47 s.
    const SummaryCase cases[] = {
        {{256, 2048, 0, 256 * 26}, 3.57, "2048 B, 256 bloků, 0 opakování, 3,6 s, 97 % linky"},
        {{1, 8, 1, 26 + 7}, 0.26, "8 B, 1 blok, 1 opakování, 0,3 s, 7 % linky"},
        {{2, 16, 4, 52}, 0.05, "16 B, 2 bloky, 4 opakování, 0,1 s, 54 % linky"},
        {{22, 176, 0, 22 * 26}, 1.0, "176 B, 22 bloků, 0 opakování, 1,0 s, 30 % linky"},
        {{0, 0, 11, 12 * 7}, 7.8, "0 B, 0 bloků, 11 opakování, 7,8 s, 1 % linky"},
        {{0, 0, 0, 0}, 0.0, "0 B, 0 bloků, 0 opakování, 0,0 s, 0 % linky"},
    };
    for (const SummaryCase& c : cases)
        EXPECT_EQ(TransferSummary(c.counts, Seconds(c.seconds)), c.expected);
}

TEST(TransferSummary, TimeLeftFollowsThePaceSoFar) {
    EXPECT_EQ(TimeLeft(Seconds(10), 64, 256), "zbývá 0:30");
    EXPECT_EQ(TimeLeft(Seconds(13), 1, 6), "zbývá 1:05");
    EXPECT_EQ(TimeLeft(Seconds(3), 256, 256), "zbývá 0:00");
    EXPECT_EQ(TimeLeft(Seconds(0), 0, 256), "");
}

TEST(TransferSummary, EndsTheBarOnATerminal) {
    std::ostringstream out;
    ConsoleProgress progress(out, true);
    progress.showProgress("Načítám data z EEPROM do PC.", true);
    progress.setProgressValue(1, 4);
    progress.transferEnded({1, 8, 0, 26});
    const std::string text = out.str();
    EXPECT_TRUE(text.starts_with("Načítám data z EEPROM do PC. (Storno: Ctrl+C)\n\r[##########"));
    EXPECT_NE(text.find("] 1/4  zbývá 0:00"), std::string::npos) << text;
    EXPECT_NE(text.find("\n8 B, 1 blok, 0 opakování, 0,0 s, "), std::string::npos) << text;
}

TEST(TransferSummary, TheBarFitsEveryTerminalWidth) {
    // Each line stops short of the last column, so a redraw never wraps into a new line.
    struct Width {
        int columns;
        const char* line; ///< the bar of 64 of 256 blocks, half a minute left
    };
    const Width widths[] = {
        {80, "[##########..............................] 64/256   zbývá 0:30      "},
        {60, "[#######........................] 64/256   zbývá 0:30      "},
        {40, "[##.........] 64/256   zbývá 0:30      "},
        {20, "[##.......] 64/256 "},
        {10, "64/256 "},
        {4, "64/"},
    };
    for (const Width& w : widths)
        EXPECT_EQ(ProgressLine(64, 256, "zbývá 0:30", w.columns), w.line) << w.columns;

    std::ostringstream out;
    ConsoleProgress progress(out, true, [] { return 40; });
    progress.showProgress("Načítám data z EEPROM do PC.", true);
    for (int done = 1; done <= 256; ++done)
        progress.setProgressValue(done, 256);
    progress.hideProgress();
    const std::string text = out.str();
    const std::string bars = text.substr(text.find('\n') + 1);
    EXPECT_EQ(std::count(bars.begin(), bars.end(), '\n'), 1) << "one line, redrawn in place";
    EXPECT_EQ(std::count(bars.begin(), bars.end(), '\r'), 101); // once per percent, 0 to 100
}

} // namespace
} // namespace orb
