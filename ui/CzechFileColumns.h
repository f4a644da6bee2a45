#pragma once

#include <QIdentityProxyModel>

namespace orb {

/// Shows the size, type and date columns of Qt's file dialog in Czech whatever the session's language.
/// Qt's Czech translation gives the dialog its words, but the columns follow the session's locale
/// ("4 bytes", "Dec"), name a folder "Folder" even in Czech, and a settings file "unknown" where the
/// program's MIME type is not installed.
class CzechFileColumns : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override;
};

} // namespace orb
