#pragma once

#include <QString>
#include <QStringList>

namespace orb {

/// The settings files the window last loaded or saved and the folder last used, kept between runs, so
/// that the file dialogs open where the technician works and the recent files are a key press away.
class FileHistory {
  public:
    /// How many files the recent list keeps.
    static constexpr int RecentCount = 8;

    /// Notes a file the settings were loaded from or saved to: first in the recent list, and its folder
    /// the one last used.
    void noteFile(const QString& path);
    /// Notes the folder of a file chosen in a dialog, whatever became of the file.
    void noteFolder(const QString& folder);

    /// The folder last used; empty before the first.
    QString lastFolder() const;
    /// The files last loaded or saved, the newest first.
    QStringList recentFiles() const;
};

} // namespace orb
