#pragma once

#include "settings/Fields.h"
#include "settings/FormDisplay.h"
#include "settings/FormView.h"
#include "settings/RuleOutcome.h"
#include "settings/SettingsRecord.h"
#include "settings/UnitState.h"

#include <optional>
#include <string>

namespace orb {

struct FieldRuleResult;

/// The presentation model of the main window: the one source of truth for every setting.
/// Every setter runs the reactions the main window attaches to that control; an equal value does nothing.
/// The user's typing, the entry dialogs and the image decoder all go through the same setters.
class SettingsForm {
  public:
    /// Fills the start-up values and tables (InitSettingsLists) and counts the image size.
    /// The view is not called while it may still be under construction: it reads display() afterwards.
    explicit SettingsForm(FormView& view);

    const SettingsRecord& record() const { return record_; }
    const SettingsOptions& options() const { return options_; }
    const FormDisplay& display() const { return display_; }
    /// What is known of the attached unit; the display's unit and link captions are derived from it.
    const UnitState& unit() const { return unit_; }
    FormView& view() { return view_; }

    const std::string& text(TextRef field) const;
    bool flag(FlagField field, int row = 0) const;
    int choice(ChoiceField field) const;

    /// Sets a text and runs its reactions (size recount for the counted texts).
    void setText(TextRef field, const std::string& text);
    /// Sets a check box and runs its click rule (row flags, enabling rules).
    void setFlag(FlagField field, int row, bool value);
    /// Selects an entry of a drop-down list and runs its rule (the format rule).
    void setChoice(ChoiceField field, int index);

    /// The user left a main-window field: runs its rule; on rejection shows the box, brings the tab
    /// forward and focuses the field again, leaving the text as typed. Returns false on rejection.
    bool leaveField(TextRef field);

    /// Runs the rule of a main-window field on the text of an entry dialog's field: no tab is selected,
    /// the on/off comparison uses the dialog's partner text, an empty telephone number does nothing.
    /// A rejection has shown its box; the dialog puts the focus back itself.
    RuleOutcome checkDialogField(TextRef field, const std::string& text, const std::string& partnerText);

    /// Clears the row's telephone flags with a warning when the row has no number (EmptyNumberFlagsRule).
    /// Returns true when nothing was changed.
    bool checkNumberFlags(int row);

    /// Checks the output names and words before a write to the unit; on refusal shows the box,
    /// brings the outputs tab forward, focuses the field and returns false.
    bool outputWordsRule();

    /// Recounts the image size into lblInfoPamUsage and lblInfoPamFree.
    void updateImageSize();
    /// The used size U as shown in lblInfoPamUsage (one more than the encoded image's length).
    int imageUsage() const { return imageUsage_; }
    /// The unit's memory size, or nothing while no unit has reported it.
    std::optional<int> memorySize() const { return unit_.memoryBytes; }

    /// Replaces what is known of the attached unit and shows it (the device link does so as it learns).
    void setUnitState(const UnitState& unit);

    /// Tells whether the settings differ from those of the last file load or save and the last read or
    /// write of the unit; the options beside the record do not count, since no file or unit holds them.
    bool settingsChanged() const { return !(record_ == keptRecord_); }
    /// Notes that a file or the unit now holds these settings (after a load, save, read or write).
    void markSettingsKept(const SettingsRecord& record) { keptRecord_ = record; }

    /// True while the decoder fills the form (ImageLoading): the empty-number check and the on/off-name
    /// comparison stay silent, so the controls may be inconsistent for a moment.
    bool imageLoading() const { return imageLoading_; }

    /// Holds ImageLoading for as long as it lives; the decoder keeps one for the whole decode, so the flag
    /// falls back on every way out of it.
    class ImageLoadingScope {
      public:
        explicit ImageLoadingScope(SettingsForm& form) : form_(form) { form_.imageLoading_ = true; }
        ~ImageLoadingScope() { form_.imageLoading_ = false; }
        ImageLoadingScope(const ImageLoadingScope&) = delete;
        ImageLoadingScope& operator=(const ImageLoadingScope&) = delete;

      private:
        SettingsForm& form_;
    };

  private:
    FieldRuleResult runRule(TextRef field, const std::string& text, std::string_view partnerText);
    void singleAlarmNumberRule(int row);
    void applyFormatRule();
    void countImageSize();
    /// Shows a rule's refusal of the field's value (or of a dialog's, with no field).
    void showError(const std::string& text, std::optional<TextRef> field);

    FormView& view_;
    SettingsRecord record_;
    SettingsRecord keptRecord_; ///< what a file or the unit last received or gave; start-up values at first
    SettingsOptions options_;
    UnitState unit_;
    int imageUsage_ = 0;
    FormDisplay display_;
    bool imageLoading_ = false;
    bool alarmSelectBusy_ = false;
    std::optional<TextRef> reportedClash_; ///< the on/off-name field whose clash was the last rule's report
};

} // namespace orb
