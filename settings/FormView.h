#pragma once

#include "common/Prompter.h"
#include "settings/Fields.h"

#include <optional>
#include <string>

namespace orb {

/// What a rule of the form said as it refused, cleared or questioned a value: the text of its box and the
/// text field it put the focus on, if any.
struct RuleNotice {
    std::optional<TextRef> field;
    std::string text;

    bool operator==(const RuleNotice&) const = default;
};

/// What the settings model needs of the main window: boxes, tabs, focus and redraws.
class FormView : public Prompter {
  public:
    /// Brings tab 0..3 of the main window to the front.
    virtual void selectTab(int tab) = 0;
    /// Puts the focus back into a text field, with its text intact.
    virtual void focusField(TextRef field) = 0;
    /// A text, flag or choice of the model changed; the control of that name shows the new value.
    virtual void textChanged(TextRef field) = 0;
    virtual void flagChanged(FlagField field, int row) = 0;
    virtual void choiceChanged(ChoiceField field) = 0;
    /// Captions, colours or enabled states of labels and controls changed.
    virtual void displayChanged() = 0;
    /// A rule spoke (its box has been shown): whoever drives the form without a user, an import, decides
    /// on this value. The window needs no more than the box.
    virtual void ruleSpoke(const RuleNotice&) {}
};

} // namespace orb
