#pragma once

#include "settings/Fields.h"
#include "settings/SettingsRecord.h"

#include <string>
#include <vector>

namespace orb {

/// A number setting whose value its field's rule would never have let in: a file or a unit can hold one,
/// since the checksum of an image does not cover its option block.
struct OutOfRuleValue {
    TextRef field;
    std::string value;
    NumberRange range;

    bool operator==(const OutOfRuleValue&) const = default;
};

/// Returns the setting's name as orbctl and its JSON name it: "tabTC", or "tabTC[3]" for a row.
std::string SettingName(TextRef field);

/// Tells whether a number field's text is one of the values its range holds.
bool HoldsValueInRange(const std::string& text, const NumberRange& range);

/// Returns every number setting of the record outside its field's range, in the order of the fields.
std::vector<OutOfRuleValue> OutOfRuleValues(const SettingsRecord& record);

/// Says one such value in a line: "tabKOMUNIKPocetBloku: hodnota \"0\" je mimo rozsah pole (1 až 100)."
std::string OutOfRuleText(const OutOfRuleValue& value);

} // namespace orb
