#include "cli/SeriesConsole.h"

#include <utility>

namespace orb {

namespace {
// Narrower than any terminal a technician works in, so a line never wraps and the redraw stays in place.
constexpr std::size_t StatusWidth = 79;
} // namespace

SeriesConsole::SeriesConsole(std::ostream& out, bool onTerminal, std::vector<std::string> portNames)
    : out_(out), onTerminal_(onTerminal), names_(std::move(portNames)), statuses_(names_.size()) {}

void SeriesConsole::status(std::size_t port, const std::string& text) {
    if (statuses_.at(port) == text) return;
    statuses_[port] = text;
    if (!onTerminal_) return;
    eraseStatus();
    drawStatus();
}

void SeriesConsole::line(const std::string& text) {
    eraseStatus();
    out_ << "orbctl: " << text << '\n';
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
    for (std::size_t i = 0; i < names_.size(); ++i)
        out_ << FitToWidth(names_[i] + ": " + statuses_[i], StatusWidth) << '\n';
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

} // namespace orb
