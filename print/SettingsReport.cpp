#include "print/SettingsReport.h"

#include "print/PrintMessages.h"
#include "print/WrapReportLine.h"

#include <exception>
#include <memory>

namespace orb {

namespace {

const char* const ReportFont = "Arial CE";
constexpr double ReportFontPoints = 7;

/// Prints the pieces of a line one line height apart; with `spaced`, a further (text height - 50) follows.
void printPieces(PagePrinter& printer, const ReportLine& line, bool spaced) {
    const WrappedLine wrapped = WrapReportLine(printer, line, printer.pageWidth() - 2 * ReportMargin);
    for (std::size_t i = 0; i < wrapped.pieces.size(); ++i) {
        printer.setPosition(ReportMargin + (i == 0 ? 0 : wrapped.indent), printer.currentY());
        printer.printLine(wrapped.pieces[i]);
        int y = printer.currentY();
        if (spaced && i + 1 == wrapped.pieces.size()) y += printer.textHeight(line.text) - 50;
        if (y > printer.pageHeight() - ReportMargin) {
            printer.newPage();
            y = ReportMargin;
        }
        printer.setPosition(ReportMargin, y);
    }
}

} // namespace

void PrintReportLine(PagePrinter& printer, const ReportLine& line) {
    printPieces(printer, line, true);
}

void PrintReport(PagePrinter& printer, const std::vector<ReportLine>& lines) {
    printer.setPosition(ReportMargin, ReportMargin);
    printer.setFont(ReportFont, ReportFontPoints);
    if (!lines.empty()) printPieces(printer, lines.front(), false);
    for (std::size_t i = 1; i < lines.size(); ++i)
        PrintReportLine(printer, lines[i]);
    printer.endDocument();
}

void PrintSettingsReport(const SettingsForm& form, PrinterDialog& dialog, Prompter& prompter,
                         const std::string& fileName) {
    try {
        std::unique_ptr<PagePrinter> printer =
            dialog.choosePrinter(print_messages::reportTitle(fileName, form.record().tabJmenoStanice));
        if (!printer) return;
        PrintReport(*printer, BuildReport(form.record()));
    } catch (const std::exception& error) { // the program outlives any failed print job
        prompter.ask(Message{std::string(print_messages::Title), print_messages::printFailed(error.what()),
                             MessageIcon::Critical, MessageButtons::Ok});
    }
}

} // namespace orb
