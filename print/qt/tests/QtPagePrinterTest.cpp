#include "print/qt/QtPagePrinter.h"

#include "print/ReportLines.h"
#include "print/SettingsReport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <sstream>

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

TEST(QtPagePrinter, PrintsEveryReportLineIntoAPdfWithCzechLetters) {
    if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext is not installed";
    SettingsRecord record;
    record.tabJmenoStanice = "Žluťoučký kůň úpěl ďábelské ódy";
    record.tabTC[3] = "+420777123456";
    record.tabTCUdalost[3] = true;
    record.tabINPNazev[6] = "Čidlo pohybu";
    record.tabOUTimpulsLEN[1] = "255";
    QTemporaryDir folder;
    const QString path = folder.filePath("report.pdf");

    PrintReport(*QtPagePrinter::toPdf(path), ReportLines(record));

    // Read over an area wider than the page, so that the rules running off its right edge come back whole.
    const std::string pdf = "'" + path.toStdString() + "'";
    std::istringstream text(output("pdftotext -q -nopgbrk -x 0 -y 0 -W 4000 -H 4000 " + pdf + " -"));
    std::vector<std::string> printed;
    for (std::string line; std::getline(text, line);)
        if (!trimmed(line).empty()) printed.push_back(trimmed(line));
    std::vector<std::string> expected;
    for (const std::string& line : ReportLines(record))
        if (!trimmed(line).empty()) expected.push_back(trimmed(line));
    EXPECT_EQ(printed, expected);
    // "Arial CE" is a Windows font; its stand-in has the same metrics.
    EXPECT_NE(output("pdffonts " + pdf).find("LiberationSans"), std::string::npos);
}

TEST(QtPagePrinter, PdfThatCannotBeWrittenFailsWithTheFileNamed) {
    try {
        QtPagePrinter::toPdf("/nonexistent-folder/report.pdf");
        FAIL() << "no error";
    } catch (const PrintError& error) {
        EXPECT_STREQ(error.what(), "soubor '/nonexistent-folder/report.pdf' nelze otevřít.");
    }
}

} // namespace
} // namespace orb
