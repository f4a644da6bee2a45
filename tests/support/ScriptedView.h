#pragma once

#include "settings/FormView.h"

#include <deque>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace orb {

inline void PrintTo(const Message& message, std::ostream* out) {
    *out << "{\"" << message.title << "\", \"" << message.text << "\", icon "
         << static_cast<int>(message.icon) << ", buttons " << static_cast<int>(message.buttons) << "}";
}

namespace test {

/// A main window without widgets: shows only the boxes a test has scripted, presses the scripted button,
/// and records boxes, tabs and focus in the order the form asked for them.
class ScriptedView : public FormView {
  public:
    ~ScriptedView() override {
        for (const Scripted& missing : script_)
            ADD_FAILURE() << "box never shown: " << missing.message.text;
    }

    /// Scripts the next box the form must show and the button the user presses in it.
    void expectBox(const Message& message, Answer answer = Answer::Ok) {
        script_.push_back({message, answer});
    }

    /// Shows the next scripted box; an unscripted box, another box or an answer it lacks fails the test.
    Answer ask(const Message& message) override {
        boxes.push_back(message);
        events.push_back("box " + message.text);
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected box: " << message.title << ": " << message.text;
            return message.buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
        }
        const Scripted next = script_.front();
        script_.pop_front();
        EXPECT_EQ(message, next.message);
        if (!offers(message.buttons, next.answer))
            ADD_FAILURE() << "the box does not offer the scripted answer: " << message.text;
        return next.answer;
    }

    void selectTab(int tab) override { events.push_back("tab " + std::to_string(tab)); }
    void focusField(TextRef field) override {
        events.push_back("focus " + std::string(fieldName(field.field)) + " " + std::to_string(field.row));
    }
    void textChanged(TextRef field) override { changedTexts.push_back(field); }
    void flagChanged(FlagField field, int row) override {
        changedFlags.push_back(std::string(fieldName(field)) + " " + std::to_string(row));
    }
    void choiceChanged(ChoiceField field) override { changedChoices.push_back(field); }
    void displayChanged() override { ++displayChanges; }

    std::vector<Message> boxes;
    std::vector<std::string> events; ///< "box <text>", "tab <n>", "focus <field> <row>", in order
    std::vector<TextRef> changedTexts;
    std::vector<std::string> changedFlags; ///< "<field> <row>", in order
    std::vector<ChoiceField> changedChoices;
    int displayChanges = 0;

  private:
    struct Scripted {
        Message message;
        Answer answer;
    };

    static bool offers(MessageButtons buttons, Answer answer) {
        switch (buttons) {
        case MessageButtons::Ok:
            return answer == Answer::Ok;
        case MessageButtons::YesNo:
            return answer == Answer::Yes || answer == Answer::No;
        case MessageButtons::YesNoCancel:
            return answer != Answer::Ok;
        }
        return false;
    }

    std::deque<Scripted> script_;
};

} // namespace test
} // namespace orb
