#include "ui/QtFileDialogs.h"

#include "ui/CzechFileColumns.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace orb {

std::optional<std::string> QtFileDialogs::choose(QFileDialog& dialog) {
    // Qt's own dialog, not the desktop's: it speaks Czech whatever language the session has.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new CzechFileColumns(&dialog));
    dialog.setNameFilter(SettingsFileFilter);
    dialog.setDefaultSuffix(SettingsFileSuffix);
    if (const QString folder = history_.lastFolder(); !folder.isEmpty()) dialog.setDirectory(folder);
    if (dialog.acceptMode() == QFileDialog::AcceptSave)
        if (const QString offered = offeredFile_(); !offered.isEmpty()) dialog.selectFile(offered);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    // Remembered even when the file then fails to load: the folder is where the user works.
    history_.noteFolder(QFileInfo(chosen).absolutePath());
    return QFile::encodeName(chosen).toStdString();
}

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
