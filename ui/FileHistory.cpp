#include "ui/FileHistory.h"

#include <QFileInfo>
#include <QSettings>

namespace orb {
namespace {

constexpr const char* FolderKey = "files/lastFolder";
constexpr const char* RecentKey = "files/recent";

/// The program's own settings: ~/.config/orb/orb.conf.
QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "orb", "orb");
}

} // namespace

void FileHistory::noteFile(const QString& path) {
    const QFileInfo file(path);
    QStringList recent = recentFiles();
    recent.removeAll(file.absoluteFilePath());
    recent.prepend(file.absoluteFilePath());
    store().setValue(RecentKey, recent.mid(0, RecentCount));
    noteFolder(file.absolutePath());
}

void FileHistory::noteFolder(const QString& folder) {
    store().setValue(FolderKey, folder);
}

QString FileHistory::lastFolder() const {
    return store().value(FolderKey).toString();
}

QStringList FileHistory::recentFiles() const {
    return store().value(RecentKey).toStringList();
}

} // namespace orb
