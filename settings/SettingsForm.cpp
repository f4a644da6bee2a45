#include "settings/SettingsForm.h"

#include "settings/ImageSize.h"
#include "settings/OutputWordsRule.h"
#include "settings/RuleMessages.h"
#include "settings/Tables.h"
#include "settings/TextRules.h"
#include "settings/UnitDisplay.h"

namespace orb {
namespace {

/// A telephone-row flag that needs a number, with the warning given when it is set without one.
struct NumberFlag {
    FlagField field;
    std::string_view warning;
};

constexpr NumberFlag NumberFlags[] = {
    {FlagField::tabTCPrijem, msg::ReceiveWithoutNumber},
    {FlagField::tabTCPoplach, msg::AlarmWithoutNumber},
    {FlagField::tabTCUdalost, msg::EventsWithoutNumber},
};

} // namespace

SettingsForm::SettingsForm(FormView& view) : view_(view) {
    applyFormatRule();
    countImageSize();
}

const std::string& SettingsForm::text(TextRef field) const {
    return textOf(record_, options_, field);
}

bool SettingsForm::flag(FlagField field, int row) const {
    return flagOf(record_, options_, field, row);
}

int SettingsForm::choice(ChoiceField field) const {
    return choiceOf(record_, options_, field);
}

void SettingsForm::setText(TextRef field, const std::string& text) {
    std::string& stored = textOf(record_, options_, field);
    if (stored == text) return;
    stored = text;
    view_.textChanged(field);
    if (IsCountedText(field.field)) updateImageSize();
}

void SettingsForm::setFlag(FlagField field, int row, bool value) {
    bool& stored = flagOf(record_, options_, field, row);
    if (stored == value) return;
    stored = value;
    view_.flagChanged(field, row);
    switch (field) {
    case FlagField::tabTCPrijem:
    case FlagField::tabTCUdalost:
        checkNumberFlags(row);
        break;
    case FlagField::tabTCPoplach:
        singleAlarmNumberRule(row);
        break;
    case FlagField::opExist:
        display_.existEnabled = value;
        view_.displayChanged();
        break;
    case FlagField::opNotAuthorized:
        display_.rtNotAuthorizedEnabled = value;
        view_.displayChanged();
        break;
    default:
        break;
    }
}

void SettingsForm::setChoice(ChoiceField field, int index) {
    int& stored = choiceOf(record_, options_, field);
    if (stored == index) return;
    stored = index;
    view_.choiceChanged(field);
    if (field == ChoiceField::tabKOMUNIKFormat) {
        applyFormatRule();
        view_.displayChanged();
    }
}

bool SettingsForm::leaveField(TextRef field) {
    const std::string value = text(field);
    const auto partner = stateNamePartner(field.field);
    const FieldRuleResult result =
        runRule(field, value, partner ? std::string_view(text({*partner, field.row})) : std::string_view());
    switch (result.outcome.kind) {
    case RuleOutcome::Kind::Rejected:
        showError(result.message, field);
        if (result.tab) view_.selectTab(*result.tab);
        view_.focusField(field);
        return false;
    case RuleOutcome::Kind::Corrected:
        setText(field, result.outcome.text);
        break;
    case RuleOutcome::Kind::Accepted:
        if (field.field == TextField::tabTC && value.empty()) checkNumberFlags(field.row);
        break;
    }
    return true;
}

RuleOutcome SettingsForm::checkDialogField(TextRef field, const std::string& text,
                                           const std::string& partnerText) {
    const FieldRuleResult result = runRule(field, text, partnerText);
    if (result.outcome.kind == RuleOutcome::Kind::Rejected) showError(result.message, std::nullopt);
    return result.outcome;
}

// A clash pulls the focus back, so the next rule to run is that of the field the focus bounced off: if
// it is the partner, it must not report the same clash again. Any later rule compares afresh.
FieldRuleResult SettingsForm::runRule(TextRef field, const std::string& text, std::string_view partnerText) {
    const auto partner = stateNamePartner(field.field);
    const bool partnerClashReported = partner && reportedClash_ == TextRef{*partner, field.row};
    reportedClash_.reset();
    FieldRuleResult result = CheckFieldRule(
        field.field, text, {partnerText, options_.tabUTO, imageLoading_ || partnerClashReported});
    if (result.clashReported == true) reportedClash_ = field;
    return result;
}

bool SettingsForm::checkNumberFlags(int row) {
    bool unchanged = true;
    for (const NumberFlag& numberFlag : NumberFlags) {
        if (text({TextField::tabTC, row}).empty() && flag(numberFlag.field, row) && !imageLoading_) {
            view_.ask({std::string(msg::WarningTitle), std::string(numberFlag.warning),
                       MessageIcon::Exclamation, MessageButtons::Ok});
            view_.ruleSpoke({std::nullopt, std::string(numberFlag.warning)});
            setFlag(numberFlag.field, row, false);
            unchanged = false;
        }
    }
    return unchanged;
}

// The flags this rule clears and sets raise their own clicks; AlarmSelectBusy stops those at the number
// check so that the question is asked once per user click.
void SettingsForm::singleAlarmNumberRule(int row) {
    const bool set = flag(FlagField::tabTCPoplach, row);
    if (!checkNumberFlags(row) || !set || alarmSelectBusy_) return;
    alarmSelectBusy_ = true;
    int alarmRows = 0;
    for (int j = 0; j < RowCount; ++j)
        alarmRows += flag(FlagField::tabTCPoplach, j) ? 1 : 0;
    if (alarmRows > 1) {
        const Answer answer = view_.ask({std::string(msg::QuestionTitle), std::string(msg::SingleAlarmNumber),
                                         MessageIcon::Exclamation, MessageButtons::YesNo});
        view_.ruleSpoke({std::nullopt, std::string(msg::SingleAlarmNumber)});
        if (answer == Answer::Yes) {
            for (int j = 0; j < RowCount; ++j)
                setFlag(FlagField::tabTCPoplach, j, false);
            setFlag(FlagField::tabTCPoplach, row, true);
        } else {
            setFlag(FlagField::tabTCPoplach, row, false);
        }
    }
    alarmSelectBusy_ = false;
}

bool SettingsForm::outputWordsRule() {
    const auto violation = FindOutputWordsViolation(record_);
    if (!violation) return true;
    view_.selectTab(3);
    view_.ask(
        {std::string(msg::WriteRefusalTitle), violation->message, MessageIcon::Critical, MessageButtons::Ok});
    view_.ruleSpoke({violation->field, violation->message});
    view_.focusField(violation->field);
    return false;
}

void SettingsForm::updateImageSize() {
    countImageSize();
    view_.displayChanged();
}

void SettingsForm::countImageSize() {
    imageUsage_ = CountImageSize(record_);
    ShowUnitState(unit_, imageUsage_, display_);
}

void SettingsForm::setUnitState(const UnitState& unit) {
    unit_ = unit;
    updateImageSize();
}

void SettingsForm::applyFormatRule() {
    const bool enabled = record_.tabKOMUNIKFormat != FormatTable[0].code;
    display_.tabKOMUNIKParitaEnabled = enabled;
    display_.tabKOMUNIKFrekvenceEnabled = enabled;
}

void SettingsForm::showError(const std::string& text, std::optional<TextRef> field) {
    tell(view_, msg::ErrorTitle, text, MessageIcon::Critical);
    view_.ruleSpoke({field, text});
}

} // namespace orb
