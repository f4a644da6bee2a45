#pragma once

#include "settings/FormView.h"

namespace orb::test {

/// A main window without widgets whose user answers every box with its first button (OK or Yes).
/// The fuzz harnesses and the benchmark drive the link and the codec through it.
class QuietView : public FormView {
  public:
    Answer ask(const Message& message) override {
        ++boxes;
        if (dismissBoxes) return dismissedAnswer(message.buttons);
        return message.buttons == MessageButtons::Ok ? Answer::Ok : Answer::Yes;
    }
    void selectTab(int) override {}
    void focusField(TextRef) override {}
    void textChanged(TextRef) override {}
    void flagChanged(FlagField, int) override {}
    void choiceChanged(ChoiceField) override {}
    void displayChanged() override {}

    int boxes = 0;
    bool dismissBoxes = false; ///< the user closes every box without pressing a button
};

} // namespace orb::test
