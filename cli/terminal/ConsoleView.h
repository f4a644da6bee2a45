#pragma once

#include "settings/FormView.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orb {

/// One message box as orbctl met it, with the field the form put the focus on right after it.
struct ShownBox {
    Message message;
    Answer answer = Answer::Ok;
    std::optional<TextRef> focus;
};

/// The main window's part for a program without a window: every box is kept, and written to a stream
/// when one is given. Nobody is there to answer a question, so each one is answered No: the alarm-number
/// question keeps the row that had the flag first, and a failed deactivation does not pretend that the
/// unit has left programming mode.
class ConsoleView : public FormView {
  public:
    /// Keeps the boxes without writing them.
    ConsoleView() = default;

    Answer ask(const Message& message) override;
    void selectTab(int) override {}
    void focusField(TextRef field) override;
    void textChanged(TextRef) override {}
    void flagChanged(FlagField, int) override {}
    void choiceChanged(ChoiceField) override {}
    void displayChanged() override {}

    /// Writes each later box to echo as it appears, each of its lines after prefix (BoxLines).
    void setEcho(std::ostream& echo, const std::string& prefix) {
        echo_ = &echo;
        prefix_ = prefix;
    }
    /// Returns the boxes shown since the last call and forgets them.
    std::vector<ShownBox> takeBoxes();

  private:
    std::ostream* echo_ = nullptr;
    std::string prefix_;
    std::vector<ShownBox> boxes_;
};

/// Formats a box as lines of text: "title: text" with each further paragraph on a line of its own, and
/// the answer for a question at the end. A text that asks for a click in the window is worded for the
/// terminal.
std::vector<std::string> BoxLines(const ShownBox& box);

} // namespace orb
