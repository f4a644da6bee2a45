#pragma once

#include "files/SettingsFile.h"
#include "ui/FileHistory.h"
#include "ui/QtFileDialogs.h"

#include <functional>
#include <QString>

class QWidget;

namespace orb {

/// The file dialogs of the window's commands. The choice goes to the dialogs in use (Qt's, or others a
/// test plugs in); each file the settings were saved to or loaded from becomes the window's file, which its
/// title names and the save dialog offers, and joins the recent files.
class WindowFileDialogs : public FileDialogs {
  public:
    /// fileChanged runs whenever the window's file changes.
    WindowFileDialogs(QWidget* owner, std::function<void()> fileChanged);

    /// Chooses files with other dialogs; nullptr shows Qt's again.
    void setDialogs(FileDialogs* dialogs) { other_ = dialogs; }

    std::optional<std::string> chooseSaveFile() override { return inUse().chooseSaveFile(); }
    std::optional<std::string> chooseOpenFile() override { return inUse().chooseOpenFile(); }
    void settingsFileUsed(const std::string& name) override;
    /// Notes that the settings came from the unit: no file holds them any more.
    void settingsReadFromUnit();

    /// The file the settings were last saved to or loaded from; empty at start and after a read.
    const QString& file() const { return file_; }
    const FileHistory& history() const { return history_; }

  private:
    FileDialogs& inUse() { return other_ ? *other_ : qt_; }

    FileHistory history_;
    QtFileDialogs qt_;
    FileDialogs* other_ = nullptr;
    QString file_;
    std::function<void()> fileChanged_;
};

} // namespace orb
