#include "cli/ConsoleView.h"

#include <utility>

namespace orb {

Answer ConsoleView::ask(const Message& message) {
    Answer answer = message.buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
    boxes_.push_back({message, answer, std::nullopt});
    if (echo_) *echo_ << prefix_ << BoxLine(boxes_.back()) << std::endl;
    return answer;
}

void ConsoleView::focusField(TextRef field) {
    if (!boxes_.empty() && !boxes_.back().focus) boxes_.back().focus = field;
}

std::vector<ShownBox> ConsoleView::takeBoxes() {
    return std::exchange(boxes_, {});
}

std::string BoxLine(const ShownBox& box) {
    std::string line = box.message.title + ": " + box.message.text;
    if (box.message.buttons != MessageButtons::Ok) line += box.answer == Answer::Yes ? " -> Ano" : " -> Ne";
    return line;
}

} // namespace orb
