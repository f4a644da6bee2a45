#pragma once

#include "settings/Fields.h"

#include <map>
#include <string>

namespace orb::test {

/// Lists every setting of the record by name ("tabTC 0"), so a difference names the setting.
inline std::map<std::string, std::string> Named(const SettingsRecord& record) {
    const SettingsOptions options;
    std::map<std::string, std::string> settings;
    for (const TextField field : AllTextFields)
        for (int row = 0; row < (isRowField(field) ? RowCount : 1) && field != TextField::tabUTO; ++row)
            settings[std::string(fieldName(field)) + " " + std::to_string(row)] =
                textOf(record, options, {field, row});
    for (const FlagField field : AllFlagFields)
        for (int row = 0; row < (isRowField(field) ? RowCount : 1) && field != FlagField::CheckWrite; ++row)
            settings[std::string(fieldName(field)) + " " + std::to_string(row)] =
                flagOf(record, options, field, row) ? "1" : "0";
    return settings;
}

} // namespace orb::test
