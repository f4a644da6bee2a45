#include "settings/TextRules.h"

#include "image/Cp1250.h"
#include "settings/CharacterSets.h"
#include "settings/RuleMessages.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace orb {
namespace {

/// Upper-case letters of the Windows-1250 code page outside Latin-1; each one's lower case follows it.
constexpr std::array<char32_t, 26> ExtendedUpperCase{
    0x0102, 0x0104, 0x0106, 0x010C, 0x010E, 0x0110, 0x0118, 0x011A, 0x0139, 0x013D, 0x0141, 0x0143, 0x0147,
    0x0150, 0x0154, 0x0158, 0x015A, 0x015E, 0x0160, 0x0162, 0x0164, 0x016E, 0x0170, 0x0179, 0x017B, 0x017D,
};

char32_t lowerCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (std::find(ExtendedUpperCase.begin(), ExtendedUpperCase.end(), c) != ExtendedUpperCase.end())
        return c + 1;
    return c;
}

/// Decodes UTF-8 and lower-cases it; a byte that starts no valid sequence stands for itself.
std::u32string foldCase(std::string_view text) {
    std::u32string folded;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80         ? 1
                                   : lead >> 5 == 0x6  ? 2
                                   : lead >> 4 == 0xE  ? 3
                                   : lead >> 3 == 0x1E ? 4
                                                       : 0;
        char32_t c = lead;
        if (length > 1 && i + length <= text.size()) {
            c = lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k)
                c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            i += length;
        } else {
            ++i;
        }
        folded += lowerCase(c);
    }
    return folded;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return foldCase(a) == foldCase(b);
}

/// What people put between the digits of a telephone number: spaces (a tab and a no-break space too, as
/// spreadsheets, mail and word processors give them), dashes (an en dash too), dots, brackets, line ends.
constexpr std::array<std::string_view, 12> NumberSeparators{
    " ", "\t", "\xC2\xA0", "-", "\xE2\x80\x93", ".", "(", ")", "[", "]", "\r", "\n",
};

std::string withList(std::string_view message, std::string_view list) {
    return std::string(message) + std::string(list);
}

FieldRuleResult reject(TextField field, std::string message) {
    return {{RuleOutcome::Kind::Rejected, {}}, std::move(message), fieldTab(field), std::nullopt};
}

FieldRuleResult acceptOrCorrect(const std::string& text, std::string corrected) {
    if (corrected == text) return {};
    return {{RuleOutcome::Kind::Corrected, std::move(corrected)}, {}, std::nullopt, std::nullopt};
}

/// A field held to a character set, and for the word fields kept apart from the unit's keywords.
struct CharacterRule {
    TextField field;
    std::string_view set;
    std::string_view message;
    bool messageListsSet;
    std::string_view keywordMessage; ///< empty: no keyword check
};

const CharacterRule CharacterRules[] = {
    {TextField::rtNotAuthorized, MessageTextChars, msg::ReportTextChars, true, {}},
    {TextField::rtReCall, MessageTextChars, msg::ReportTextChars, true, {}},
    {TextField::tabINPLH, InputTextChars, msg::RisingTransitionChars, true, {}},
    {TextField::tabINPHL, InputTextChars, msg::FallingTransitionChars, true, {}},
    {TextField::tabINPNazev, InputTextChars, msg::InputNameChars, true, msg::InputNameKeyword},
    {TextField::tabOUTNazev, CommandChars, msg::OutputNameChars, true, msg::OutputNameKeyword},
    {TextField::tabOUTimpuls, CommandChars, msg::PulseCommandChars, true, msg::PulseCommandKeyword},
    {TextField::tabPIN, DigitChars, msg::Pin, false, {}},
    {TextField::tabTCcentra, PhoneChars, msg::ServiceCentre, false, {}},
    {TextField::tabUTO, PhoneChars, msg::CountryPrefix, false, {}},
};

FieldRuleResult checkCharacters(const CharacterRule& rule, const std::string& text) {
    if (!HasOnlyChars(text, rule.set))
        return reject(rule.field, withList(rule.message, rule.messageListsSet ? rule.set : ""));
    if (!rule.keywordMessage.empty() && !IsAllowedName(text, ReservedKeywords))
        return reject(rule.field, withList(rule.keywordMessage, ReservedKeywords));
    return {};
}

/// A number of digits that is brought into its field's range silently; empty or non-digit texts are
/// refused. The hidden switch digit is only held to digits: its edit control takes one character.
struct NumericRule {
    TextField field;
    std::string_view message;
    bool keepInRange;
};

const NumericRule NumericRules[] = {
    {TextField::tabDobaPlatnostiSMS, msg::SmsValidity, true},
    {TextField::eeExistTime, msg::ExistTime, true},
    {TextField::tabKOMUNIKPocetBloku, msg::BlockCount, true},
    {TextField::tabKOMUNIKPocetTestu, msg::TestCount, true},
    {TextField::tabRFRWait, msg::RingWait, true},
    {TextField::tabWaitFree, msg::WaitFree, true},
    {TextField::tabPrepnoutJTSCislo, msg::JtsDigit, false},
};

constexpr long long NoUpperBound = 1'000'000'000'000LL;

/// Reads a text of digits; values beyond any bound saturate, so an absurd length still corrects to the top.
long long valueOf(std::string_view digits) {
    long long value = 0;
    for (char c : digits)
        value = std::min(value * 10 + (c - '0'), NoUpperBound);
    return value;
}

FieldRuleResult checkNumber(const NumericRule& rule, const std::string& text) {
    if (text.empty() || !HasOnlyChars(text, DigitChars)) return reject(rule.field, std::string(rule.message));
    if (!rule.keepInRange) return {};
    const NumberRange range = *numberRange(rule.field);
    long long value = valueOf(text);
    std::string corrected = text;
    // A stepped value is rounded down to its step and always rewritten.
    if (range.step > 1) {
        value = value / range.step * range.step;
        corrected = std::to_string(value);
    }
    if (value < range.min)
        corrected = std::to_string(range.min);
    else if (value > range.max)
        corrected = std::to_string(range.max);
    return acceptOrCorrect(text, std::move(corrected));
}

/// The on-name or off-name of an input or output row.
struct OnOffRule {
    TextField field;
    bool output;
    bool onName;
};

constexpr OnOffRule OnOffRules[] = {
    {TextField::tabINPZap, false, true},
    {TextField::tabINPVyp, false, false},
    {TextField::tabOUTZap, true, true},
    {TextField::tabOUTVyp, true, false},
};

// A reported clash is marked in the result: the focus that the rejection pulls back makes the partner
// field lose it at once, and the partner must not report the same clash a second time.
FieldRuleResult checkOnOffName(const OnOffRule& rule, const std::string& text,
                               const FieldRuleContext& context) {
    const std::string_view set = rule.output ? CommandChars : InputTextChars;
    if (!HasOnlyChars(text, set))
        return reject(rule.field, withList(rule.onName ? msg::OnNameChars : msg::OffNameChars, set));
    const std::string_view offName = rule.onName ? context.partnerText : std::string_view(text);
    if (!context.skipClashCheck && !offName.empty() && equalIgnoringCase(text, context.partnerText)) {
        FieldRuleResult result = reject(
            rule.field, std::string(rule.onName ? msg::OnNameEqualsOffName : msg::OffNameEqualsOnName));
        result.clashReported = true;
        return result;
    }
    if (rule.output && !IsAllowedName(text, ReservedKeywords))
        return reject(rule.field,
                      withList(rule.onName ? msg::OnNameKeyword : msg::OffNameKeyword, ReservedKeywords));
    FieldRuleResult accepted;
    accepted.clashReported = false;
    return accepted;
}

FieldRuleResult checkPhoneNumber(const std::string& text, const FieldRuleContext& context) {
    if (!HasOnlyChars(text, PhoneChars)) return reject(TextField::tabTC, std::string(msg::PhoneNumber));
    if (text.empty()) return {};
    return acceptOrCorrect(text, NormalizePhoneNumber(text, context.uto));
}

/// Refuses a character that the unit's code page cannot hold, in a field that no character set guards.
FieldRuleResult checkStorable(TextField field, const std::string& text) {
    const auto character = FirstCharacterWithoutCp1250Code(text);
    if (!character) return {};
    std::string message(msg::NoCodeCharacter);
    AppendUtf8(message, *character);
    char code[16];
    std::snprintf(code, sizeof code, "' (U+%04X", static_cast<unsigned>(*character));
    return reject(field, message + code + std::string(msg::NoCodeCharacterTail));
}

template <typename Rules> auto findRule(const Rules& rules, TextField field) {
    return std::find_if(std::begin(rules), std::end(rules),
                        [field](const auto& rule) { return rule.field == field; });
}

} // namespace

bool HasOnlyChars(std::string_view text, std::string_view set) {
    return std::all_of(text.begin(), text.end(),
                       [set](char c) { return set.find(c) != std::string_view::npos; });
}

bool IsAllowedName(std::string_view text, std::string_view list) {
    if (text.empty()) return true;
    const std::u32string name = foldCase(text);
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        if (foldCase(list.substr(start, end - start)).starts_with(name)) return false;
        if (end == list.size()) return true;
        start = end + 1;
    }
}

std::string NormalizePhoneNumber(const std::string& number, const std::string& uto) {
    const bool international = number.starts_with('+');
    const bool doubleZero = number.starts_with("00");
    if (!international && !doubleZero && !number.starts_with(uto))
        return uto + (number.starts_with('0') ? number.substr(1) : number);
    if (!international && doubleZero) return "+" + number.substr(2);
    return number;
}

bool HoldsPhoneNumber(TextField field) {
    return field == TextField::tabTC || field == TextField::tabTCcentra;
}

std::string PastedPhoneNumber(std::string_view text) {
    std::string number;
    while (!text.empty()) {
        const auto separator = std::find_if(NumberSeparators.begin(), NumberSeparators.end(),
                                            [text](std::string_view s) { return text.starts_with(s); });
        const std::size_t length = separator == NumberSeparators.end() ? 1 : separator->size();
        if (separator == NumberSeparators.end()) number += text.front();
        text.remove_prefix(length);
    }
    return number;
}

FieldRuleResult CheckFieldRule(TextField field, const std::string& text, const FieldRuleContext& context) {
    if (field == TextField::tabTC) return checkPhoneNumber(text, context);
    if (const auto rule = findRule(CharacterRules, field); rule != std::end(CharacterRules))
        return checkCharacters(*rule, text);
    if (const auto rule = findRule(NumericRules, field); rule != std::end(NumericRules))
        return checkNumber(*rule, text);
    if (const auto rule = findRule(OnOffRules, field); rule != std::end(OnOffRules))
        return checkOnOffName(*rule, text, context);
    return checkStorable(field, text);
}

} // namespace orb
