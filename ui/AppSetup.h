#pragma once

class QApplication;

namespace orb {

/// Prepares the application for the windows: Qt's own Czech texts for the standard buttons (Ano, Ne,
/// Storno) and the fonts the windows ask for, mapped onto the sans fonts a Debian system has.
void setUpApplication(QApplication& app);

} // namespace orb
