#include "print/qt/QtPrinterDialog.h"

#include "print/PrintMessages.h"
#include "print/qt/QtPagePrinter.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>

namespace orb {

void GuardOutputFile(QPrintDialog& dialog) {
    namespace pm = print_messages;
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    // Another Qt without this check keeps its own behaviour.
    if (!buttons || dialog.metaObject()->indexOfMethod("_q_checkFields()") < 0) return;
    QObject::disconnect(buttons, SIGNAL(accepted()), &dialog, nullptr);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog] {
        // The output-file field is enabled only while the job goes to a PDF file.
        const auto* file = dialog.findChild<QLineEdit*>("filename");
        if (file && file->isEnabled() && !OpensWithoutWaiting(file->text())) {
            const std::string text = pm::printFailed(pm::cannotOpenFile(file->text().toStdString()));
            QMessageBox::critical(&dialog, QString::fromUtf8(pm::Title.data(), pm::Title.size()),
                                  QString::fromStdString(text));
            return;
        }
        QMetaObject::invokeMethod(&dialog, "_q_checkFields");
    });
}

std::unique_ptr<PagePrinter> QtPrinterDialog::choosePrinter(const std::string& title) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QString::fromStdString(title));
    QPrintDialog dialog(printer.get(), parent_);
    GuardOutputFile(dialog);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return std::make_unique<QtPagePrinter>(std::move(printer));
}

} // namespace orb
