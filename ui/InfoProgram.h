#pragma once

#include <QDialog>

namespace orb {

/// The about window: the program's name, version and what it is for.
class InfoProgram : public QDialog {
  public:
    explicit InfoProgram(QWidget* owner);

    /// Shows the window modally over its owner until Zavřít, Enter or Esc hides it.
    void showModal();
};

} // namespace orb
