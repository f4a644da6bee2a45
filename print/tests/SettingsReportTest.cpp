#include "print/SettingsReport.h"

#include "print/ReportLines.h"
#include "print/tests/LongestSettings.h"
#include "print/tests/RecordingPrinter.h"
#include "tests/support/ScriptedView.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

using test::RecordingPrinter;

std::vector<ReportLine> someLines(int count) {
    std::vector<ReportLine> lines{{" "}};
    for (int i = 1; i < count; ++i)
        lines.push_back({"line " + std::to_string(i)});
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

/// Prints a telephone row too wide for a page 600 twips across, with 10 twips a character: 20 characters
/// fit between the margins, 16 after "T1; ".
std::vector<RecordingPrinter::Line> printedWideRow(int pageHeight) {
    RecordingPrinter printer(pageHeight, 160, 600, 10);
    PrintReport(printer, {{" "}, {"T1; 0123456789012345678901234567", 4}, {"next"}});
    return printer.lines;
}

TEST(PrintReport, WideLineContinuesOneLineHeightLowerUnderItsFirstValue) {
    const std::vector<RecordingPrinter::Line> expected = {
        {1, 200, 200, " "},
        {1, 200, 360, "T1; 0123456789012345"},
        {1, 240, 520, "678901234567"},
        {1, 200, 790, "next"},
    };
    EXPECT_EQ(printedWideRow(16000), expected);
}

TEST(PrintReport, PageBreaksInsideAWideLineAndCountsItsContinuation) {
    // Page height 700: after the first piece at 360 the position is 520 > 700 - 200.
    const std::vector<RecordingPrinter::Line> expected = {
        {1, 200, 200, " "},
        {1, 200, 360, "T1; 0123456789012345"},
        {2, 240, 200, "678901234567"},
        {2, 200, 470, "next"},
    };
    EXPECT_EQ(printedWideRow(700), expected);
}

TEST(PrintReport, LongestSettingsKeepEveryCharacterWithinTheMarginsOnEveryPageSize) {
    const std::vector<ReportLine> report = BuildReport(test::LongestSettings());
    struct Paper {
        int height;
        int width;
    };
    for (const Paper paper : {Paper{16838, 11906}, Paper{11906, 16838}, Paper{3000, 2000}}) {
        RecordingPrinter printer(paper.height, 160, paper.width, 60);
        PrintReport(printer, report);

        const int room = paper.width - 2 * ReportMargin;
        std::string expected;
        for (const ReportLine& line : report)
            expected += line.rule ? std::string(std::min<std::size_t>(165, room / 60), '=') : line.text;
        std::string printed;
        for (const RecordingPrinter::Line& line : printer.lines) {
            printed += line.text;
            // Only a space that ends a piece may reach past the margin, where it shows nothing.
            const std::string shown =
                line.text.ends_with(' ') ? line.text.substr(0, line.text.size() - 1) : line.text;
            EXPECT_LE(line.x + printer.textWidth(shown), paper.width - ReportMargin) << line.text;
            EXPECT_LE(line.y, paper.height - ReportMargin) << line.text;
        }
        EXPECT_TRUE(test::SameText(printed, expected)) << paper.width;
        EXPECT_GT(printer.lines.size(), report.size()) << paper.width;
    }
}

/// Hands the dialog's caller a job that prints on a printer the test keeps, so it can be read afterwards.
class BorrowedPrinter : public PagePrinter {
  public:
    explicit BorrowedPrinter(PagePrinter& printer) : printer_(printer) {}
    void setFont(const std::string& name, double points) override { printer_.setFont(name, points); }
    void setPosition(int x, int y) override { printer_.setPosition(x, y); }
    int currentY() const override { return printer_.currentY(); }
    void printLine(const std::string& text) override { printer_.printLine(text); }
    int textHeight(const std::string& text) const override { return printer_.textHeight(text); }
    int textWidth(const std::string& text) const override { return printer_.textWidth(text); }
    int pageHeight() const override { return printer_.pageHeight(); }
    int pageWidth() const override { return printer_.pageWidth(); }
    void newPage() override { printer_.newPage(); }
    void endDocument() override { printer_.endDocument(); }

  private:
    PagePrinter& printer_;
};

/// Starts a job on the given printer, or nothing as a cancelled dialog does.
class ScriptedPrinterDialog : public PrinterDialog {
  public:
    explicit ScriptedPrinterDialog(PagePrinter* printer) : printer_(printer) {}
    std::unique_ptr<PagePrinter> choosePrinter(const std::string& title) override {
        titles.push_back(title);
        return printer_ ? std::make_unique<BorrowedPrinter>(*printer_) : nullptr;
    }

    std::vector<std::string> titles; ///< of every job asked for

  private:
    PagePrinter* printer_;
};

/// A printer that jams after a few lines.
class JammingPrinter : public RecordingPrinter {
  public:
    void printLine(const std::string& text) override {
        if (lines.size() == 3) throw PrintError("papír se zasekl.");
        RecordingPrinter::printLine(text);
    }
};

class PrintSettingsReportTest : public ::testing::Test {
  protected:
    test::ScriptedView view;
    SettingsForm form{view};
};

TEST_F(PrintSettingsReportTest, PrintsTheFormsSettingsAsOneJob) {
    form.setText({TextField::tabJmenoStanice}, "Chata");
    RecordingPrinter job;
    ScriptedPrinterDialog dialog(&job);

    PrintSettingsReport(form, dialog, view);

    EXPECT_EQ(job.texts(), ReportLines(form.record()));
    EXPECT_EQ(job.texts()[4], "Jméno stanice: Chata");
    EXPECT_TRUE(job.ended);
}

TEST_F(PrintSettingsReportTest, TheJobIsTitledWithTheFileOrTheStation) {
    RecordingPrinter job;
    ScriptedPrinterDialog dialog(&job);
    PrintSettingsReport(form, dialog, view);
    form.setText({TextField::tabJmenoStanice}, "Chata u lesa");
    PrintSettingsReport(form, dialog, view);
    PrintSettingsReport(form, dialog, view, "sklad.eep");
    EXPECT_EQ(dialog.titles, (std::vector<std::string>{"Nastavení ORB", "Nastavení ORB – Chata u lesa",
                                                       "Nastavení ORB – sklad.eep"}));
}

TEST_F(PrintSettingsReportTest, CancelledDialogPrintsAndShowsNothing) {
    ScriptedPrinterDialog dialog(nullptr);
    PrintSettingsReport(form, dialog, view);
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(PrintSettingsReportTest, FailedJobEndsWithOneBoxNamingTheCause) {
    JammingPrinter job;
    ScriptedPrinterDialog dialog(&job);
    view.expectBox({"ORB - Tisk nastavení", "Nastavení se nepodařilo vytisknout: papír se zasekl.",
                    MessageIcon::Critical, MessageButtons::Ok});
    PrintSettingsReport(form, dialog, view);
    EXPECT_FALSE(job.ended);
}

} // namespace
} // namespace orb
