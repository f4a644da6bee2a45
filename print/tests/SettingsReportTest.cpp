#include "print/SettingsReport.h"

#include "print/ReportLines.h"
#include "print/tests/RecordingPrinter.h"
#include "settings/tests/ScriptedView.h"

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

/// Hands the dialog's caller a job that prints on a printer the test keeps, so it can be read afterwards.
class BorrowedPrinter : public PagePrinter {
  public:
    explicit BorrowedPrinter(PagePrinter& printer) : printer_(printer) {}
    void setFont(const std::string& name, double points) override { printer_.setFont(name, points); }
    void setPosition(int x, int y) override { printer_.setPosition(x, y); }
    int currentY() const override { return printer_.currentY(); }
    void printLine(const std::string& text) override { printer_.printLine(text); }
    int textHeight(const std::string& text) const override { return printer_.textHeight(text); }
    int pageHeight() const override { return printer_.pageHeight(); }
    void newPage() override { printer_.newPage(); }
    void endDocument() override { printer_.endDocument(); }

  private:
    PagePrinter& printer_;
};

/// Starts a job on the given printer, or nothing as a cancelled dialog does.
class ScriptedPrinterDialog : public PrinterDialog {
  public:
    explicit ScriptedPrinterDialog(PagePrinter* printer) : printer_(printer) {}
    std::unique_ptr<PagePrinter> choosePrinter() override {
        return printer_ ? std::make_unique<BorrowedPrinter>(*printer_) : nullptr;
    }

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
