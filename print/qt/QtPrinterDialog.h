#pragma once

#include "print/PagePrinter.h"

#include <QPrintDialog>

class QWidget;

namespace orb {

/// Puts a look that never waits in front of the check of Qt's printer dialog, which opens the chosen PDF file
/// to see that it can be written and so waits for good on a FIFO no program reads: such a file gets a box,
/// and the dialog stays open for another name.
void GuardOutputFile(QPrintDialog& dialog);

/// The platform's printer dialog; the chosen printer becomes the job.
class QtPrinterDialog : public PrinterDialog {
  public:
    explicit QtPrinterDialog(QWidget* parent) : parent_(parent) {}
    /// Shows the printer dialog modally; nothing when the user cancels.
    std::unique_ptr<PagePrinter> choosePrinter(const std::string& title) override;

  private:
    QWidget* parent_;
};

} // namespace orb
