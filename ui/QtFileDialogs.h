#pragma once

#include "files/SettingsFile.h"
#include "ui/FileHistory.h"

#include <functional>
#include <QString>

class QFileDialog;
class QWidget;

namespace orb {

/// The open and save dialogs of the settings files, as Qt's own file dialogs in Czech (the desktop's
/// would speak the session's language) with the "EEPROM (*.eep)" filter; a name typed without a suffix
/// gets ".eep", and the save dialog leaves the overwrite question to the save workflow. Both open in the
/// folder last chosen in either, and the save dialog offers the file the settings came from.
class QtFileDialogs : public FileDialogs {
  public:
    /// offeredFile names the file the save dialog offers (the one loaded or last saved); empty: none.
    QtFileDialogs(QWidget* owner, FileHistory& history, std::function<QString()> offeredFile)
        : owner_(owner), history_(history), offeredFile_(std::move(offeredFile)) {}

    std::optional<std::string> chooseSaveFile() override;
    std::optional<std::string> chooseOpenFile() override;

  private:
    std::optional<std::string> choose(QFileDialog& dialog);

    QWidget* owner_;
    FileHistory& history_;
    std::function<QString()> offeredFile_;
};

} // namespace orb
