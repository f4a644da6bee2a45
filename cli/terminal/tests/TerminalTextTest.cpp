#include "cli/terminal/TerminalText.h"

#include "cli/files/FileCommands.h"
#include "cli/terminal/ConsoleView.h"

#include <gtest/gtest.h>
#include <sstream>

namespace orb {
namespace {

TEST(TerminalText, ControlCharactersAndStrayBytesAreWrittenOut) {
    const std::pair<std::string, std::string> cases[] = {
        {"Chata Žluťák", "Chata Žluťák"},
        {"\x1b]0;titulek\x07", "\\u001B]0;titulek\\u0007"},
        {"\x1b[2J\r\n\t\x7f", "\\u001B[2J\\u000D\\u000A\\u0009\\u007F"},
        {"\xc2\x9b"
         "2J\xc2\x80\xc2\xa0",
         "\\u009B2J\\u0080\xc2\xa0"}, // C1 controls; U+00A0 is text
        {"\xc5", "\\xC5"},            // a cut character
        {"\xc0\x9b", "\\xC0\\x9B"},   // an overlong one
        {"€\xf0\x9f\x93\x9e", "€\xf0\x9f\x93\x9e"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(TerminalText(text), shown) << shown;
}

TEST(TerminalText, ReportLinesAndBoxesQuoteAStationNameAsPlainText) {
    SettingsRecord record;
    record.tabJmenoStanice = "\x1b]0;pwned\x07\x1b[2J";
    std::ostringstream report;
    PrintReport(record, report);
    EXPECT_NE(report.str().find("Jméno stanice: \\u001B]0;pwned\\u0007\\u001B[2J\n"), std::string::npos);
    EXPECT_EQ(report.str().find('\x1b'), std::string::npos);

    const ShownBox box{
        {"Titulek", "Stanice '\x1b[2J'.\n\nDalší", MessageIcon::Information, MessageButtons::Ok},
        Answer::Ok,
        std::nullopt};
    EXPECT_EQ(BoxLines(box), (std::vector<std::string>{"Titulek: Stanice '\\u001B[2J'.", "Další"}));
}

} // namespace
} // namespace orb
