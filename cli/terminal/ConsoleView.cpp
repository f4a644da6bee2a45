#include "cli/terminal/ConsoleView.h"

#include "cli/terminal/TerminalText.h"
#include "link/LinkMessages.h"

#include <utility>

namespace orb {

namespace {

/// A window text that says what to do in the window, and what the terminal says in its place.
struct TerminalWording {
    std::string_view window;
    std::string_view terminal;
};

// There is no OK to press on a terminal: the program goes on greeting the unit by itself.
constexpr TerminalWording TerminalWordings[] = {
    {link_messages::PressButton,
     "Na zařízení stiskněte tlačítko 'A1 VYP' a vyčkejte, než zelená LED 'STATUS' přestane blikat a bude "
     "svítit trvale. Program se mezitím stále pokouší navázat komunikaci, dokud zařízení neodpoví nebo "
     "dokud jej nepřerušíte klávesami Ctrl+C."},
};

std::string_view terminalText(const std::string& text) {
    for (const TerminalWording& wording : TerminalWordings)
        if (text == wording.window) return wording.terminal;
    return text;
}

} // namespace

Answer ConsoleView::ask(const Message& message) {
    Answer answer = message.buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
    boxes_.push_back({message, answer, std::nullopt});
    if (echo_)
        for (const std::string& line : BoxLines(boxes_.back()))
            *echo_ << prefix_ << line << std::endl;
    return answer;
}

void ConsoleView::focusField(TextRef field) {
    if (!boxes_.empty() && !boxes_.back().focus) boxes_.back().focus = field;
}

std::vector<ShownBox> ConsoleView::takeBoxes() {
    return std::exchange(boxes_, {});
}

std::vector<std::string> BoxLines(const ShownBox& box) {
    static constexpr std::string_view Paragraph = "\n\n";
    std::vector<std::string> lines;
    const std::string_view text = terminalText(box.message.text);
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(Paragraph, start);
        lines.emplace_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + Paragraph.size();
    }
    lines.front() = box.message.title + ": " + lines.front();
    if (box.message.buttons != MessageButtons::Ok)
        lines.back() += box.answer == Answer::Yes ? " -> Ano" : " -> Ne";
    // A box may quote a name or a value from the file or the unit.
    for (std::string& line : lines)
        line = TerminalText(line);
    return lines;
}

} // namespace orb
