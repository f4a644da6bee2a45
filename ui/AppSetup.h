#pragma once

class QApplication;

namespace orb {

/// Prepares the application for the windows: Qt's own Czech texts for the standard buttons (Ano, Ne,
/// Storno), the report's font mapped onto a sans font a Debian system has, the windows' font and their
/// own light palette. Alt+letter never types into a text field.
void setUpApplication(QApplication& app);

} // namespace orb
