#include "print/SettingsReport.h"

#include "print/ReportLines.h"

#include <exception>
#include <memory>

namespace orb {

namespace {

const char* const ReportFont = "Arial CE";
constexpr double ReportFontPoints = 7;

} // namespace

void PrintReportLine(PagePrinter& printer, const std::string& text) {
    printer.setPosition(ReportMargin, printer.currentY());
    printer.printLine(text);
    const int y = printer.currentY() + printer.textHeight(text) - 50;
    if (y > printer.pageHeight() - ReportMargin) {
        printer.newPage();
        printer.setPosition(ReportMargin, ReportMargin);
    } else {
        printer.setPosition(ReportMargin, y);
    }
}

void PrintReport(PagePrinter& printer, const std::vector<std::string>& lines) {
    printer.setPosition(ReportMargin, ReportMargin);
    printer.setFont(ReportFont, ReportFontPoints);
    if (!lines.empty()) printer.printLine(lines.front());
    for (std::size_t i = 1; i < lines.size(); ++i)
        PrintReportLine(printer, lines[i]);
    printer.endDocument();
}

void PrintSettingsReport(const SettingsForm& form, PrinterDialog& dialog, Prompter& prompter) {
    try {
        std::unique_ptr<PagePrinter> printer = dialog.choosePrinter();
        if (!printer) return;
        PrintReport(*printer, ReportLines(form.record()));
    } catch (const std::exception& error) { // the program outlives any failed print job
        prompter.ask(Message{"ORB - Tisk nastavení",
                             std::string("Nastavení se nepodařilo vytisknout: ") + error.what(),
                             MessageIcon::Critical, MessageButtons::Ok});
    }
}

} // namespace orb
