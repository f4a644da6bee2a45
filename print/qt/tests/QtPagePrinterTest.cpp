#include "print/qt/QtPagePrinter.h"

#include "print/qt/QtPrinterDialog.h"
#include "print/ReportLines.h"
#include "print/SettingsReport.h"
#include "print/tests/LongestSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace orb {
namespace {

/// Runs a shell command and returns what it prints.
std::string output(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    ::pclose(pipe);
    return text;
}

std::string trimmed(const std::string& line) {
    const auto begin = line.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    return line.substr(begin, line.find_last_not_of(' ') - begin + 1);
}

/// Prints the report of the settings into a PDF in `folder` and returns the file's path, quoted for a shell.
std::string printedPdf(const SettingsRecord& record, const QTemporaryDir& folder) {
    const QString path = folder.filePath("report.pdf");
    PrintReport(*QtPagePrinter::toPdf(path), BuildReport(record));
    return "'" + path.toStdString() + "'";
}

// pdftotext reads only what lies on the paper unless told to read an area wider than the page.
const std::string WholeArea = " -x 0 -y 0 -W 4000 -H 4000 ";

/// Returns the text of a PDF in the order it was drawn, one printed line a line, blank lines left out.
std::vector<std::string> printedLines(const std::string& pdf) {
    std::istringstream text(output("pdftotext -q -raw -nopgbrk" + WholeArea + pdf + " -"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        if (!trimmed(line).empty()) lines.push_back(trimmed(line));
    return lines;
}

std::string withoutSpaces(std::string text) {
    std::erase_if(text, [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
    return text;
}

bool isRuleCut(const std::string& printed) {
    return !printed.empty() && printed.size() < 165 && printed.find_first_not_of('=') == std::string::npos;
}

/// One word of a PDF with its left and right edge, in points from the left edge of the paper.
struct PlacedWord {
    double left;
    double right;
    std::string text;
};

std::vector<PlacedWord> placedWords(const std::string& pdf, double& paperWidth) {
    const std::string boxes = output("pdftotext -q -bbox" + WholeArea + pdf + " -");
    const std::regex page(R"re(<page width="([0-9.]+)")re");
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="[0-9.]+" xMax="([0-9.]+)" yMax="[0-9.]+">([^<]*)</word>)re");
    std::smatch match;
    paperWidth = std::regex_search(boxes, match, page) ? std::stod(match[1]) : 0;
    std::vector<PlacedWord> words;
    for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word); it != std::sregex_iterator(); ++it)
        words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
    return words;
}

TEST(QtPagePrinter, PrintsEveryReportLineIntoAPdfWithCzechLetters) {
    if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext is not installed";
    SettingsRecord record;
    record.tabJmenoStanice = "Žluťoučký kůň úpěl ďábelské ódy";
    record.tabTC[3] = "+420777123456";
    record.tabTCUdalost[3] = true;
    record.tabINPNazev[6] = "Čidlo pohybu";
    record.tabOUTimpulsLEN[1] = "255";
    QTemporaryDir folder;
    const std::string pdf = printedPdf(record, folder);

    // Short texts keep a line each; only the rules are cut at the edge of the paper.
    std::vector<std::string> expected;
    for (const std::string& line : ReportLines(record))
        if (!trimmed(line).empty()) expected.push_back(trimmed(line));
    const std::vector<std::string> printed = printedLines(pdf);
    ASSERT_EQ(printed.size(), expected.size());
    for (std::size_t i = 0; i < printed.size(); ++i) {
        if (expected[i] == std::string(165, '='))
            EXPECT_PRED1(isRuleCut, printed[i]) << i;
        else
            EXPECT_EQ(printed[i], expected[i]) << i;
    }
    // "Arial CE" is a Windows font; its stand-in has the same metrics.
    EXPECT_NE(output("pdffonts " + pdf).find("LiberationSans"), std::string::npos);
}

TEST(QtPagePrinter, LongestTextsArePrintedWholeWithinThePaper) {
    if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const SettingsRecord record = test::LongestSettings();
    QTemporaryDir folder;
    const std::string pdf = printedPdf(record, folder);

    // Every character of every setting, in order; the rules are cut and counted apart.
    std::string expected;
    for (const std::string& line : ReportLines(record))
        if (line != std::string(165, '=')) expected += withoutSpaces(line);
    std::string printed;
    int rules = 0;
    for (const std::string& line : printedLines(pdf))
        if (isRuleCut(line))
            ++rules;
        else
            printed += withoutSpaces(line);
    EXPECT_TRUE(test::SameText(printed, expected));
    EXPECT_EQ(rules, 4);

    // Nothing reaches into the right margin, which is as wide as the left one; the rules end at it.
    double paperWidth = 0;
    const std::vector<PlacedWord> words = placedWords(pdf, paperWidth);
    ASSERT_FALSE(words.empty());
    const double left =
        std::min_element(words.begin(), words.end(), [](auto& a, auto& b) { return a.left < b.left; })->left;
    for (const PlacedWord& word : words) {
        EXPECT_LE(word.right, paperWidth - left + 0.5) << word.text;
        if (isRuleCut(word.text)) {
            EXPECT_GT(word.right, paperWidth - left - 5) << word.text;
        }
    }
}

TEST(QtPagePrinter, APdfKeepsTheTitleOfItsJob) {
    if (std::system("command -v pdfinfo >/dev/null") != 0) GTEST_SKIP() << "pdfinfo is not installed";
    const QTemporaryDir folder;
    const QString path = folder.filePath("report.pdf");
    PrintReport(*QtPagePrinter::toPdf(path, "Nastavení ORB – sklad.eep"), BuildReport(SettingsRecord{}));
    std::istringstream info(output("pdfinfo '" + path.toStdString() + "'"));
    std::string title;
    for (std::string line; std::getline(info, line);)
        if (line.rfind("Title:", 0) == 0) title = trimmed(line.substr(6));
    EXPECT_EQ(title, "Nastavení ORB – sklad.eep");
}

TEST(QtPagePrinter, PdfThatCannotBeWrittenFailsWithTheFileNamed) {
    QTemporaryDir folder;
    // A FIFO nobody reads would hold the window frozen while the PDF waits for a reader.
    const QString pipe = folder.filePath("report.pdf");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    ::alarm(20);
    for (const QString& path : {QString("/nonexistent-folder/report.pdf"), pipe}) {
        try {
            QtPagePrinter::toPdf(path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const PrintError& error) {
            EXPECT_EQ(error.what(), "soubor '" + path.toStdString() + "' nelze otevřít.");
        }
    }
    ::alarm(0);
}

TEST(QtPrinterDialog, PdfFileThatWouldWaitForGoodKeepsTheDialogOpenWithABox) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath("report.pdf");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    QPrintDialog dialog(&printer);
    GuardOutputFile(dialog);
    dialog.show();
    QPushButton* print = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    auto* file = dialog.findChild<QLineEdit*>("filename");
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->isEnabled());

    ::alarm(20); // Qt's own check would wait for a reader for good
    file->setText(pipe);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->windowTitle() + "|" + box->text();
            box->accept();
        }
    });
    print->click();
    EXPECT_EQ(shown.toStdString(), "ORB - Tisk nastavení|Nastavení se nepodařilo vytisknout: soubor '" +
                                       pipe.toStdString() + "' nelze otevřít.");
    EXPECT_TRUE(dialog.isVisible());

    file->setText(folder.filePath("report-ok.pdf"));
    print->click();
    ::alarm(0);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(printer.outputFileName(), folder.filePath("report-ok.pdf"));
}

} // namespace
} // namespace orb
