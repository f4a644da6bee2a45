#include "cli/json/SettingsSchema.h"

#include <algorithm>
#include <vector>

namespace orb {

namespace {

std::string digitClass(char low, char high) {
    return low == high ? std::string(1, low) : "[" + std::string(1, low) + "-" + std::string(1, high) + "]";
}

std::string anyDigits(std::size_t count) {
    if (count == 0) return "";
    return count == 1 ? "[0-9]" : "[0-9]{" + std::to_string(count) + "}";
}

bool allOf(std::string_view digits, char digit) {
    return std::all_of(digits.begin(), digits.end(), [digit](char c) { return c == digit; });
}

/// Adds alternatives that match the digit strings low..high, both of the same length, after prefix.
void sameLengthRange(const std::string& prefix, std::string_view low, std::string_view high,
                     std::vector<std::string>& alternatives) {
    if (low.size() == 1) {
        alternatives.push_back(prefix + digitClass(low[0], high[0]));
        return;
    }
    if (low[0] == high[0])
        return sameLengthRange(prefix + low[0], low.substr(1), high.substr(1), alternatives);
    const std::size_t rest = low.size() - 1;
    const bool lowFromZero = allOf(low.substr(1), '0');
    const bool highToNine = allOf(high.substr(1), '9');
    char first = low[0];
    if (!lowFromZero) {
        sameLengthRange(prefix + low[0], low.substr(1), std::string(rest, '9'), alternatives);
        ++first;
    }
    const char last = highToNine ? high[0] : static_cast<char>(high[0] - 1);
    if (first <= last) alternatives.push_back(prefix + digitClass(first, last) + anyDigits(rest));
    if (!highToNine) sameLengthRange(prefix + high[0], std::string(rest, '0'), high.substr(1), alternatives);
}

Json textSchema(TextField field) {
    Json schema = {{"type", "string"}};
    if (const int length = maxTextLength(field); length > 0) schema["maxLength"] = length;
    if (const auto range = numberRange(field)) {
        schema["pattern"] = WholeNumberPattern(*range);
        schema["description"] = "celé číslo " + std::to_string(range->min) + " až " +
                                std::to_string(range->max) +
                                (range->step > 1 ? ", násobek " + std::to_string(range->step) : "");
    }
    return schema;
}

Json arrayOf(const Json& item, int count) {
    return {{"type", "array"}, {"items", item}, {"minItems", count}, {"maxItems", count}};
}

template <typename Field> Json settingSchema(Field field, const Json& value) {
    return isRowField(field) ? arrayOf(value, RowCount) : value;
}

} // namespace

std::string WholeNumberPattern(const NumberRange& range) {
    std::vector<std::string> alternatives;
    // One run of alternatives per number of digits: 5..9, 10..99, 100..768.
    for (long long low = range.min; low <= range.max;) {
        const std::string lowText = std::to_string(low);
        long long top = 9;
        while (top < low)
            top = top * 10 + 9;
        const long long high = std::min(top, range.max);
        sameLengthRange("", lowText, std::to_string(high), alternatives);
        low = high + 1;
    }
    std::string pattern = "^(?:";
    for (std::size_t i = 0; i < alternatives.size(); ++i)
        pattern += (i == 0 ? "" : "|") + alternatives[i];
    return pattern + ")$";
}

Json SettingsSchema() {
    Json properties = Json::object();
    for (TextField field : AllTextFields)
        if (!isOption(field))
            properties[std::string(fieldName(field))] = settingSchema(field, textSchema(field));
    for (FlagField field : AllFlagFields)
        if (!isOption(field))
            properties[std::string(fieldName(field))] = settingSchema(field, Json{{"type", "boolean"}});
    for (ChoiceField field : AllChoiceFields)
        if (!isOption(field))
            properties[std::string(fieldName(field))] = {{"type", "string"}, {"enum", choiceTexts(field)}};
    const Json byte = {{"type", "integer"}, {"minimum", 0}, {"maximum", 255}};
    properties[Reserved27to31Key] = arrayOf(byte, static_cast<int>(ReservedBytes{}.at27to31.size()));
    properties[Reserved63Key] = byte;

    return {{"$schema", "https://json-schema.org/draft/2020-12/schema"},
            {"title", "Nastavení komunikátoru ORB a ORBTONE"},
            {"description",
             "Soubor z orbctl export a pro orbctl import. Klíče jsou jména nastavení v programu, "
             "řádková nastavení jsou pole osmi hodnot pro řádky 0 až 7. Import doplní "
             "chybějící klíče výchozími hodnotami a číselné hodnoty mimo rozsah opraví jako "
             "okno programu."},
            {"type", "object"},
            {"properties", properties},
            {"additionalProperties", false}};
}

} // namespace orb
