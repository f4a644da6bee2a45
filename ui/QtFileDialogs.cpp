#include "ui/QtFileDialogs.h"

#include "ui/CzechFileColumns.h"

#include <QFile>
#include <QFileDialog>

namespace orb {
namespace {

std::optional<std::string> choose(QFileDialog& dialog) {
    // Qt's own dialog, not the desktop's: it speaks Czech whatever language the session has.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new CzechFileColumns(&dialog));
    dialog.setNameFilter(SettingsFileFilter);
    dialog.setDefaultSuffix(SettingsFileSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

} // namespace

std::optional<std::string> QtFileDialogs::chooseSaveFile() {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return choose(dialog);
}

std::optional<std::string> QtFileDialogs::chooseOpenFile() {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return choose(dialog);
}

} // namespace orb
