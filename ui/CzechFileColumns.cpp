#include "ui/CzechFileColumns.h"

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
    case Type:
        if (files->isDir(source)) return QStringLiteral("Složka");
        break;
    case Modified:
        return czech.toString(files->lastModified(source), QLocale::ShortFormat);
    default:
        break;
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace orb
