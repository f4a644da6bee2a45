#pragma once

#include "files/SettingsFile.h"

class QWidget;

namespace orb {

/// The open and save dialogs of the settings files, as Qt's own file dialogs in Czech (the desktop's
/// would speak the session's language) with the "EEPROM (*.eep)" filter; a name typed without a suffix
/// gets ".eep", and the save dialog leaves the overwrite question to the save workflow.
class QtFileDialogs : public FileDialogs {
  public:
    explicit QtFileDialogs(QWidget* owner) : owner_(owner) {}

    std::optional<std::string> chooseSaveFile() override;
    std::optional<std::string> chooseOpenFile() override;

  private:
    QWidget* owner_;
};

} // namespace orb
