#pragma once

#include "print/PagePrinter.h"

class QWidget;

namespace orb {

/// The platform's printer dialog; the chosen printer becomes the job.
class QtPrinterDialog : public PrinterDialog {
  public:
    explicit QtPrinterDialog(QWidget* parent) : parent_(parent) {}
    /// Shows the printer dialog modally; nothing when the user cancels.
    std::unique_ptr<PagePrinter> choosePrinter() override;

  private:
    QWidget* parent_;
};

} // namespace orb
