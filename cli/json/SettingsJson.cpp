#include "cli/json/SettingsJson.h"

#include "settings/Tables.h"

#include <type_traits>

namespace orb {

namespace {

/// Stores one setting: its value, or for a row setting the array of its eight row values.
template <typename Field, typename ReadRow> void putSetting(Json& json, Field field, ReadRow readRow) {
    Json& value = json[std::string(fieldName(field))];
    if (!isRowField(field)) {
        value = readRow(0);
        return;
    }
    value = Json::array();
    for (int row = 0; row < RowCount; ++row)
        value.push_back(readRow(row));
}

template <typename Table> std::vector<std::string> textsOf(const Table& table) {
    std::vector<std::string> texts;
    for (const auto& entry : table) {
        if constexpr (std::is_same_v<std::decay_t<decltype(entry)>, ChoiceEntry>)
            texts.emplace_back(entry.text);
        else
            texts.emplace_back(entry);
    }
    return texts;
}

} // namespace

bool isOption(TextField field) {
    return field == TextField::tabUTO;
}

bool isOption(FlagField field) {
    return field == FlagField::CheckWrite;
}

bool isOption(ChoiceField field) {
    return field == ChoiceField::tabPort;
}

std::vector<std::string> choiceTexts(ChoiceField field) {
    switch (field) {
    case ChoiceField::tabKOMUNIKFormat:
        return textsOf(FormatTable);
    case ChoiceField::tabKOMUNIKParita:
        return textsOf(ParityTable);
    case ChoiceField::tabKOMUNIKFrekvence:
        return textsOf(FrequencyTable);
    case ChoiceField::tabPort:
        return textsOf(PortTexts);
    }
    return {};
}

Json SettingsToJson(const SettingsRecord& record, const ReservedBytes& reserved) {
    const SettingsOptions options;
    Json json = Json::object();
    for (TextField field : AllTextFields)
        if (!isOption(field))
            putSetting(json, field, [&](int row) { return textOf(record, options, {field, row}); });
    for (FlagField field : AllFlagFields)
        if (!isOption(field))
            putSetting(json, field, [&](int row) { return flagOf(record, options, field, row); });
    for (ChoiceField field : AllChoiceFields)
        if (!isOption(field))
            json[std::string(fieldName(field))] = choiceTexts(field).at(choiceOf(record, options, field));
    json[Reserved27to31Key] = reserved.at27to31;
    json[Reserved63Key] = reserved.at63;
    return json;
}

} // namespace orb
