#pragma once

#include "settings/Fields.h"
#include "settings/RuleOutcome.h"

#include <optional>
#include <string>
#include <string_view>

namespace orb {

/// Returns true if every character of text occurs in set (case-sensitive); an empty text passes.
bool HasOnlyChars(std::string_view text, std::string_view set);

/// Returns false if text is non-empty and, ignoring case, equals a word of the ';'-separated list or a
/// leading part of one; a word that is a leading part of the text does not count.
bool IsAllowedName(std::string_view text, std::string_view list);

/// Puts a telephone number into international form using the country prefix uto ("+420").
std::string NormalizePhoneNumber(const std::string& number, const std::string& uto);

/// Tells whether a field holds a telephone number: a row's number or the SMS centre's.
bool HoldsPhoneNumber(TextField field);

/// Takes out of a telephone number, as people write it and send it, what stands between its digits (spaces,
/// dashes, dots, brackets) and the line end after it, so that a pasted number reaches its rule as digits.
/// Every other character stays for the rule to judge.
std::string PastedPhoneNumber(std::string_view text);

/// What a field's rule decided, with what a rejection tells the user.
struct FieldRuleResult {
    RuleOutcome outcome;
    std::string message;               ///< the error box's text when rejected
    std::optional<int> tab;            ///< the main-window tab of the field; none for the hidden frames
    std::optional<bool> clashReported; ///< set by the on/off-name rules: a clash reported, or a name accepted

    bool operator==(const FieldRuleResult&) const = default;
};

/// What a rule may read besides the field's own text.
struct FieldRuleContext {
    std::string_view partnerText; ///< the other one of the row's on-name and off-name
    std::string uto = "+420";     ///< the country prefix for telephone numbers
    bool skipClashCheck =
        false; ///< the decoder is filling the form, or the partner's clash was just reported
};

/// Runs the rule that guards a text field when the user leaves it; fields without a rule accept any
/// character the unit's code page can hold. An empty telephone number is accepted here: its flag check is
/// the form's business.
FieldRuleResult CheckFieldRule(TextField field, const std::string& text, const FieldRuleContext& context);

} // namespace orb
