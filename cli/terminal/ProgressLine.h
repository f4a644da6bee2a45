#pragma once

#include <string>

namespace orb {

/// Draws the bar of a transfer for a terminal of the given width: "[####....] 64/256  zbývá 0:30". The
/// line never reaches the last column (a terminal would wrap it, and each redraw would start a new line):
/// the bar narrows first, then the time left goes, then the bar. Every line of one width is equally wide,
/// so a redraw covers the one before.
std::string ProgressLine(int done, int total, const std::string& timeLeft, int columns);

} // namespace orb
