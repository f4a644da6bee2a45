#pragma once

#include <QObject>

namespace orb {

/// Makes a button take one click where the user double-clicked: the double click's second press is
/// swallowed, so it neither presses the button nor clicks it. For a button whose click undoes the one
/// before (Aktivovat and Deaktivovat), however long the first click's command took.
class SecondClickGuard : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace orb
