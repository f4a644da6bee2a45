#pragma once

class QLineEdit;
class QWidget;

namespace orb {

/// Makes a telephone number field clean what is pasted into it (Ctrl+V or Shift+Insert, the context
/// menu's paste, a middle click): the spaces, dashes, dots, brackets and line ends that come with a number
/// as technicians receive it go before the field's rule sees the text. Typing is left alone, so a space
/// typed by hand is refused by the rule as before.
/// control is what takes the keys: the field itself, or the editable drop-down list that holds it.
void CleanPastedPhoneNumbers(QWidget* control, QLineEdit* edit);

} // namespace orb
