#pragma once

#include <QObject>

namespace orb {

/// Keeps Alt+letter out of the text fields. Qt types the letter of an Alt+letter that no access key takes
/// into the focused field, where the user meant a command: "Chata" and Alt+V would be stored as "Chatav".
/// Installed on the application, it swallows such a key with a beep, as an unassigned access key does
/// elsewhere. AltGr, which types "@" and the like on Czech keyboards, is no Alt to it.
class AltKeyGuard : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace orb
