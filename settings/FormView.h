#pragma once

#include "common/Prompter.h"
#include "settings/Fields.h"

namespace orb {

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
};

} // namespace orb
