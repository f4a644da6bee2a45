#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace orb {

/// The series on standard error. On a terminal each port has a status line below the printed lines,
/// redrawn in place as the port's work goes on; otherwise only the lines are printed, one at a time.
class SeriesConsole {
  public:
    /// Writes on out; with status lines for the ports when onTerminal.
    SeriesConsole(std::ostream& out, bool onTerminal, std::vector<std::string> portNames);

    /// Shows what the port at index does now.
    void status(std::size_t port, const std::string& text);
    /// Prints a line of orbctl's ("orbctl: TEXT") above the status lines.
    void line(const std::string& text);
    /// Removes the status lines, at the end of the series.
    void close();

  private:
    void eraseStatus();
    void drawStatus();

    std::ostream& out_;
    bool onTerminal_;
    std::vector<std::string> names_;
    std::vector<std::string> statuses_;
    bool drawn_ = false;
};

/// Shortens a text to at most width characters (UTF-8 code points), so that a status line never wraps.
std::string FitToWidth(const std::string& text, std::size_t width);

} // namespace orb
