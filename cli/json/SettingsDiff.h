#pragma once

#include "cli/json/SettingsJson.h"

#include <string>
#include <vector>

namespace orb {

/// One setting whose value differs: its name (with its row for row settings), or the place it stands in a
/// file, and the values before and after.
struct SettingChange {
    std::string setting;
    Json from;
    Json to;

    bool operator==(const SettingChange&) const = default;
};

/// Writes a change as diff, import and series show it: the setting, then both values as JSON values
/// ("tabPIN: \"1234\" -> \"5678\"").
std::string ChangeText(const SettingChange& change);

/// Lists the settings whose values differ between two exports (SettingsToJson), element by element for
/// row settings.
std::vector<SettingChange> SettingChanges(const Json& a, const Json& b);

/// Lists the same changes as lines of text (ChangeText), one each.
std::vector<std::string> DiffSettings(const Json& a, const Json& b);

} // namespace orb
