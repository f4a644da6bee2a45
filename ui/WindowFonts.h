#pragma once

#include <QFont>

namespace orb {

/// Returns the font of every caption and field: Liberation Sans at 10 pixels takes the room of the narrow
/// 8-point sans face that the twips layout was drawn for, so captions fit their places and keep clear of
/// their neighbours.
QFont windowFont();

/// Returns the larger font of the connection state ("Neaktivní", "Chybné zařízení"), 9.75 points in the
/// design: one pixel taller than the window font, the most that keeps its longest caption inside its
/// rectangle.
QFont stateCaptionFont();

} // namespace orb
