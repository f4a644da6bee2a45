#include "ui/CzechFileColumns.h"

#include "files/SettingsFile.h"

#include <QFileSystemModel>
#include <QLocale>

namespace orb {
namespace {

enum Column { Name, Size, Type, Modified };

} // namespace

QVariant CzechFileColumns::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || index.column() == Name || !files)
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const QLocale czech(QLocale::Czech, QLocale::Czechia);
    switch (index.column()) {
    case Size:
        if (!files->isDir(source)) return czech.formattedDataSize(files->size(source));
        break;
    case Type: {
        // The type comes from the MIME database in the session's language, and a system without the
        // program's package knows a settings file only as "unknown".
        if (files->isDir(source)) return QStringLiteral("Složka");
        const QString suffix = files->fileInfo(source).suffix();
        if (suffix.compare(SettingsFileSuffix, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Soubor nastavení ORB");
        return suffix.isEmpty() ? QStringLiteral("Soubor") : "Soubor " + suffix;
    }
    case Modified:
        return czech.toString(files->lastModified(source), QLocale::ShortFormat);
    default:
        break;
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace orb
