#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orb {

/// What orb's command line asks for.
struct StartOptions {
    bool help = false;
    bool version = false;
    std::optional<std::string> file; ///< the settings file to open at start
    std::string error;               ///< what is wrong with the command line; empty when nothing is
};

/// Reads the arguments that follow the program's name: --help, --version and at most one settings file
/// ("--" ends the options). Qt takes its own options (-platform, -style) before the file is read.
StartOptions ParseStartOptions(const std::vector<std::string>& args);

/// Returns the text of orb --help.
std::string StartHelpText();
/// Returns the program's name and version, as orb --version prints it.
std::string StartVersionText();

/// Tells whether the program can show its windows: a display (DISPLAY, WAYLAND_DISPLAY) or a Qt platform
/// (QT_QPA_PLATFORM, or -platform among the arguments) is named. Without one Qt would abort.
bool HasDisplay(const std::vector<std::string>& args);

/// Explains, for standard error, that the program needs a graphical session.
std::string NoDisplayText();

} // namespace orb
