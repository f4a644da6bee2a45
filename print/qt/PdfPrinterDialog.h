#pragma once

#include "print/PagePrinter.h"
#include "print/qt/QtPagePrinter.h"

#include <QString>

namespace orb {

/// Prints to a fixed PDF file without asking: for previews and for tests, which cannot answer a dialog.
class PdfPrinterDialog : public PrinterDialog {
  public:
    explicit PdfPrinterDialog(QString path) : path_(std::move(path)) {}
    /// Starts a job on the PDF file.
    std::unique_ptr<PagePrinter> choosePrinter(const std::string& title) override {
        return QtPagePrinter::toPdf(path_, QString::fromStdString(title));
    }

  private:
    QString path_;
};

} // namespace orb
