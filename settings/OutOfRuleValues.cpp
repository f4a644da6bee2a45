#include "settings/OutOfRuleValues.h"

#include "settings/CharacterSets.h"
#include "settings/TextRules.h"

namespace orb {

std::string SettingName(TextRef field) {
    const std::string name(fieldName(field.field));
    return isRowField(field.field) ? name + "[" + std::to_string(field.row) + "]" : name;
}

bool HoldsValueInRange(const std::string& text, const NumberRange& range) {
    if (text.empty() || text.size() > 18 || !HasOnlyChars(text, DigitChars)) return false;
    const long long value = std::stoll(text);
    return value >= range.min && value <= range.max && value % range.step == 0;
}

std::vector<OutOfRuleValue> OutOfRuleValues(const SettingsRecord& record) {
    const SettingsOptions options;
    std::vector<OutOfRuleValue> found;
    for (TextField field : AllTextFields) {
        const std::optional<NumberRange> range = numberRange(field);
        for (int row = 0; range && row < (isRowField(field) ? RowCount : 1); ++row) {
            const std::string& value = textOf(record, options, {field, row});
            if (!HoldsValueInRange(value, *range)) found.push_back({{field, row}, value, *range});
        }
    }
    return found;
}

std::string OutOfRuleText(const OutOfRuleValue& value) {
    const std::string step = value.range.step == 1 ? "" : ", po " + std::to_string(value.range.step);
    return SettingName(value.field) + ": hodnota \"" + value.value + "\" je mimo rozsah pole (" +
           std::to_string(value.range.min) + " až " + std::to_string(value.range.max) + step + ").";
}

} // namespace orb
