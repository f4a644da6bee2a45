#include "cli/series/SeriesConsole.h"

#include "cli/terminal/ProgressLine.h"
#include "cli/terminal/TerminalText.h"
#include "settings/ImageSize.h"

#include <algorithm>
#include <utility>

namespace orb {

SeriesConsole::SeriesConsole(std::ostream& out, bool onTerminal, std::vector<std::string> portNames,
                             std::function<int()> columns)
    : out_(out), onTerminal_(onTerminal), names_(std::move(portNames)), columns_(std::move(columns)),
      statuses_(names_.size()) {}

void SeriesConsole::status(std::size_t port, const SeriesStatus& status) {
    if (statuses_.at(port) == status) return;
    const bool unitStarts = !status.unit.empty() && status.unit != statuses_[port].unit;
    statuses_[port] = status;
    if (!onTerminal_) {
        // A log of the run shows each unit's start; its end is the unit's record line.
        if (unitStarts) line(names_[port] + ": " + status.unit + ": zápis začíná");
        return;
    }
    eraseStatus();
    drawStatus();
}

void SeriesConsole::line(const std::string& text) {
    eraseStatus();
    out_ << "orbctl: " << TerminalText(text) << '\n';
    drawStatus();
    out_.flush();
}

void SeriesConsole::close() {
    eraseStatus();
    out_.flush();
}

void SeriesConsole::eraseStatus() {
    if (!drawn_) return;
    // Up to the first status line, then everything below the cursor goes.
    out_ << "\x1b[" << names_.size() << "F\x1b[J";
    drawn_ = false;
}

void SeriesConsole::drawStatus() {
    if (!onTerminal_) return;
    const int columns = columns_();
    for (std::size_t i = 0; i < names_.size(); ++i)
        out_ << StatusLine(names_[i], statuses_[i], columns) << '\n';
    out_.flush();
    drawn_ = true;
}

std::string FitToWidth(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Each code point starts with a byte that is not a continuation byte (10xxxxxx).
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++characters > width) return text.substr(0, i);
    }
    return text;
}

std::string StatusLine(const std::string& portName, const SeriesStatus& status, int columns) {
    const std::size_t room = columns > 1 ? static_cast<std::size_t>(columns - 1) : 0;
    // The row comes first, then the bar; what the port does, which the bar mostly tells, gives way first.
    const std::string head =
        TerminalText(portName) + ": " + TerminalText(status.unit.empty() ? status.step : status.unit);
    const std::string step = status.unit.empty() ? "" : TerminalText(status.step);
    // A terminal too narrow for the bar and some of the text shows the text alone.
    if (status.total <= 0 || room < 20) return FitToWidth(step.empty() ? head : head + ": " + step, room);
    const std::size_t barRoom =
        std::max(std::min<std::size_t>(30, room / 2), room - std::min(room, CharacterCount(head) + 1));
    const std::string bar =
        ProgressLine(status.done, status.total, status.timeLeft, static_cast<int>(barRoom) + 1);
    const std::string line = FitToWidth(head, room - std::min(room, CharacterCount(bar) + 1)) + " " + bar;
    return FitToWidth(step.empty() ? line : line + "  " + step, room);
}

} // namespace orb
