#pragma once

#include "cli/json/ReservedBytes.h"
#include "settings/Fields.h"
#include "settings/SettingsRecord.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace orb {

/// JSON that keeps its keys in the order they were written, so exports read like the record.
using Json = nlohmann::ordered_json;

inline constexpr const char* Reserved27to31Key = "reserved27to31";
inline constexpr const char* Reserved63Key = "reserved63";

/// Tells whether a field is one of the options beside the record (tabUTO, CheckWrite, tabPort): they are not
/// part of a file.
bool isOption(TextField field);
bool isOption(FlagField field);
bool isOption(ChoiceField field);

/// Returns the display texts of a drop-down list's entries, in index order.
std::vector<std::string> choiceTexts(ChoiceField field);

/// Returns the settings as one JSON object: a key per setting under its control's name (row settings as
/// arrays of eight), texts as strings, flags as booleans, choices as their display texts, then the
/// reserved bytes of the image.
Json SettingsToJson(const SettingsRecord& record, const ReservedBytes& reserved);

} // namespace orb
