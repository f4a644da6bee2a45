#include "print/qt/QtPrinterDialog.h"

#include "print/qt/QtPagePrinter.h"

#include <QPrintDialog>

namespace orb {

std::unique_ptr<PagePrinter> QtPrinterDialog::choosePrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent_);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return std::make_unique<QtPagePrinter>(std::move(printer));
}

} // namespace orb
