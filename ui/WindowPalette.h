#pragma once

#include <QColor>
#include <QPalette>

namespace orb {

/// The colours of the captions that carry a meaning: blue for what the window shows of the unit and of
/// the settings' size, red for what needs the user ("Neaktivní", room that ran out). Both read at 4.5:1 or
/// more on the window colour of windowPalette().
inline const QColor ValueColour(0, 0, 255);
inline const QColor AlertColour(192, 0, 0);

/// The windows' own light palette, whatever the desktop's theme: the captions' colours and the pictures of
/// the buttons are made for a light ground, and a dark theme would put them on a dark one.
QPalette windowPalette();

/// Gives the application windowPalette(), also in place of the palettes a desktop theme hands Qt for
/// kinds of control (labels, fields, buttons), which would win over the application's own.
void useWindowPalette();

} // namespace orb
