#pragma once

#include "settings/Fields.h"

#include <string>

class QLineEdit;

namespace orb {

/// The property that holds a text field's own limit (0: none), which showText keeps apart from maxLength.
inline constexpr const char* TextLimitProperty = "orbTextLimit";

/// Gives a text field the limit of its setting (no limit for a setting without one); a text cut at the
/// limit ends at a whole character.
void limitText(QLineEdit* edit, TextField field);

/// Shows a text that the program set in a field, leaving the field alone when it shows it already.
/// The limit holds the user's typing only: a longer text (which only a loaded image can bring) widens
/// the field's maximum length so that nothing of it is cut off.
void showText(QLineEdit* edit, const std::string& text);

} // namespace orb
