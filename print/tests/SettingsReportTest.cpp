#include "print/SettingsReport.h"

#include "print/tests/RecordingPrinter.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

using test::RecordingPrinter;

std::vector<std::string> someLines(int count) {
    std::vector<std::string> lines{" "};
    for (int i = 1; i < count; ++i)
        lines.push_back("line " + std::to_string(i));
    return lines;
}

TEST(PrintReport, FirstLineHasNoExtraAdvanceAndLaterLinesAreTwoLineHeightsLessFiftyApart) {
    RecordingPrinter printer(16000, 160);
    PrintReport(printer, someLines(4));

    EXPECT_EQ(printer.fontName, "Arial CE");
    EXPECT_EQ(printer.fontPoints, 7);
    ASSERT_EQ(printer.lines.size(), 4u);
    const int expectedY[] = {200, 360, 630, 900};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(printer.lines[i].x, 200) << i;
        EXPECT_EQ(printer.lines[i].y, expectedY[i]) << i;
        EXPECT_EQ(printer.lines[i].page, 1) << i;
    }
    EXPECT_TRUE(printer.ended);
}

TEST(PrintReport, LinePassingTheBottomMarginMovesTheNextToTheTopOfANewPage) {
    // Page height 1000: after the line at 630 the position is 900 > 1000 - 200.
    RecordingPrinter printer(1000, 160);
    PrintReport(printer, someLines(6));

    ASSERT_EQ(printer.lines.size(), 6u);
    EXPECT_EQ(printer.lines[2].page, 1);
    EXPECT_EQ(printer.lines[2].y, 630);
    EXPECT_EQ(printer.lines[3].page, 2);
    EXPECT_EQ(printer.lines[3].y, 200);
    EXPECT_EQ(printer.lines[4].y, 470);
    EXPECT_EQ(printer.lines[5].page, 2);
    EXPECT_EQ(printer.lines[5].y, 740);
}

TEST(PrintReport, PositionExactlyAtTheBottomMarginStaysOnThePage) {
    // After the line at 630 the position is 900 = 1100 - 200: not past the margin yet.
    RecordingPrinter printer(1100, 160);
    PrintReport(printer, someLines(4));
    EXPECT_EQ(printer.lines[3].page, 1);
    EXPECT_EQ(printer.lines[3].y, 900);
}

} // namespace
} // namespace orb
