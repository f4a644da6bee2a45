#pragma once

namespace orb {

/// Returns the width of the terminal on standard error, 80 when it does not say; asked at each redraw, as
/// the terminal may be resized.
int TerminalColumns();

} // namespace orb
