#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace orb {

/// What a port shows on its status line.
struct SeriesStatus {
    std::string unit{};     ///< the unit's row, "řádek 3 CHATA-3 (3 z 10)"; empty while no unit holds one
    std::string step{};     ///< what the port does now: "Ukládám data z PC do EEPROM."
    int done = 0;           ///< blocks of the transfer under way
    int total = 0;          ///< 0 while no transfer runs
    std::string timeLeft{}; ///< "zbývá 0:12"

    bool operator==(const SeriesStatus&) const = default;
};

/// The series on standard error. On a terminal each port has a status line below the printed lines,
/// redrawn in place as the port's work goes on and as wide as the terminal; otherwise only the lines are
/// printed, one at a time, and a line when a unit starts its write. Every text is shown as TerminalText
/// shows it: a control character that came from a file, the unit or the system is never sent raw.
class SeriesConsole {
  public:
    /// Writes on out; with status lines for the ports when onTerminal, as wide as columns tells.
    SeriesConsole(
        std::ostream& out, bool onTerminal, std::vector<std::string> portNames,
        std::function<int()> columns = [] { return 80; });

    /// Shows what the port at index does now.
    void status(std::size_t port, const SeriesStatus& status);
    /// Prints a line of orbctl's ("orbctl: TEXT", the text escaped) above the status lines.
    void line(const std::string& text);
    /// Removes the status lines, at the end of the series.
    void close();

  private:
    void eraseStatus();
    void drawStatus();

    std::ostream& out_;
    bool onTerminal_;
    std::vector<std::string> names_;
    std::function<int()> columns_;
    std::vector<SeriesStatus> statuses_;
    bool drawn_ = false;
};

/// Shortens a text to at most width characters (UTF-8 code points), so that a status line never wraps.
std::string FitToWidth(const std::string& text, std::size_t width);

/// Returns a port's status line for a terminal of the given width, its texts escaped, never reaching its
/// last column:
/// "COM 1: řádek 3 CHATA-3 (3 z 10): Ukládám data z PC do EEPROM. [####....] 34/68  zbývá 0:12". The
/// text gives way to the bar first.
std::string StatusLine(const std::string& portName, const SeriesStatus& status, int columns);

} // namespace orb
