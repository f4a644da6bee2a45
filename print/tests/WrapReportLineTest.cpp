#include "print/WrapReportLine.h"

#include "print/tests/RecordingPrinter.h"

#include <gtest/gtest.h>
#include <ostream>

namespace orb {
namespace {

// Every character is 10 twips wide: a room of 100 takes ten characters.
const test::RecordingPrinter TenTwipsACharacter(16000, 160, 12000, 10);

struct WrapCase {
    const char* what;
    ReportLine line;
    int width;
    std::vector<std::string> pieces;
    int indent;
};

void PrintTo(const WrapCase& c, std::ostream* out) {
    *out << c.what;
}

class WrapReportLineCases : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapReportLineCases, CutsWhereExpected) {
    const WrapCase& c = GetParam();
    const WrappedLine wrapped = WrapReportLine(TenTwipsACharacter, c.line, c.width);
    EXPECT_EQ(wrapped.pieces, c.pieces);
    EXPECT_EQ(wrapped.indent, c.indent);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WrapReportLineCases,
    ::testing::Values(
        WrapCase{"empty line is one empty piece", {""}, 100, {""}, 0},
        WrapCase{"exactly the width fits", {"abcdefghij"}, 100, {"abcdefghij"}, 0},
        WrapCase{"one character more breaks inside the word", {"abcdefghijk"}, 100, {"abcdefghij", "k"}, 0},
        WrapCase{"last space in the second half", {"abcdef ghijkl"}, 100, {"abcdef ", "ghijkl"}, 0},
        WrapCase{"last space in the first half", {"ab cdefghijklm"}, 100, {"ab cdefghi", "jklm"}, 0},
        WrapCase{"space right after the part that fits", {"abcdefghij klm"}, 100, {"abcdefghij ", "klm"}, 0},
        WrapCase{
            "further spaces start the next piece", {"abcdefghij   klm"}, 100, {"abcdefghij ", "  klm"}, 0},
        WrapCase{"trailing separator fits by hanging", {"I0; abcde; "}, 100, {"I0; abcde; "}, 0},
        WrapCase{"Czech letters are one character each", {"ččččččččččč"}, 100, {"čččččččččč", "č"}, 0},
        WrapCase{"continues under the first value",
                 {"I0; abcdefghijklmnop", 4},
                 100,
                 {"I0; abcdef", "ghijkl", "mnop"},
                 40},
        WrapCase{"label wider than half the room: back to the margin",
                 {"Label: abcdefghijklm", 7},
                 100,
                 {"Label: ", "abcdefghij", "klm"},
                 0},
        WrapCase{"room for less than a character still moves on", {"abc"}, 5, {"a", "b", "c"}, 0},
        WrapCase{"rule is cut, not continued", {std::string(165, '='), 0, true}, 100, {"=========="}, 0}));

TEST(WrapReportLine, PiecesOfLongTextsGiveTheTextBackAndFitTheRoom) {
    const std::string text =
        "O3; Ždímačka prádla v suterénu;  WWWWWWWWWWWWWWWWWWWWWW; ; 1; Puls a  mezery; 255; 1; ";
    for (int width : {30, 70, 100, 170, 400}) {
        const WrappedLine wrapped = WrapReportLine(TenTwipsACharacter, {text, 4}, width);
        std::string joined;
        for (std::size_t i = 0; i < wrapped.pieces.size(); ++i) {
            const std::string& piece = wrapped.pieces[i];
            joined += piece;
            const int room = width - (i == 0 ? 0 : wrapped.indent);
            const std::string shown = piece.ends_with(' ') ? piece.substr(0, piece.size() - 1) : piece;
            EXPECT_LE(TenTwipsACharacter.textWidth(shown), std::max(room, 10)) << width << ": " << piece;
        }
        EXPECT_EQ(joined, text) << width;
    }
}

} // namespace
} // namespace orb
