#pragma once

#include <string>
#include <string_view>

namespace orb {

enum class MessageIcon { Critical, Exclamation, Information, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

/// One modal message box exactly as the user sees it.
struct Message {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    /// The button Enter presses in a question: Yes, or No where Yes would do what cannot be undone.
    Answer defaultAnswer = Answer::Yes;

    bool operator==(const Message&) const = default;
};

/// Shows modal message boxes; the window implements it, tests script the answers.
class Prompter {
  public:
    virtual ~Prompter() = default;
    /// Shows the box and returns the button the user pressed (Ok for an OK-only box), or, for a box
    /// closed without one (Esc, its close box, a stop signal), dismissedAnswer.
    virtual Answer ask(const Message& message) = 0;
};

/// The answer of a box closed without pressing a button: the one that changes nothing, Cancel or No, and
/// for an OK-only box Cancel, which the boxes that start something (the activation) take as Storno.
inline Answer dismissedAnswer(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
}

/// Shows a box with only an OK button: a notice, a warning or an error.
inline void tell(Prompter& prompter, std::string_view title, std::string_view text, MessageIcon icon) {
    prompter.ask({std::string(title), std::string(text), icon, MessageButtons::Ok});
}

} // namespace orb
