#include "cli/SeriesRows.h"

#include "cli/JsonImport.h"
#include "cli/SettingsDiff.h"
#include "cli/Workspace.h"
#include "image/DecodeImage.h"

#include <algorithm>
#include <map>
#include <regex>
#include <set>

namespace orb {

namespace {

/// Where a column's values go in the settings JSON: a key, and the element of a row setting.
struct ColumnTarget {
    std::string key;
    std::optional<std::size_t> element;
};

std::string lineText(int line) {
    return "řádek " + std::to_string(line) + ": ";
}

std::string lineText(const std::string& unitsName, int line) {
    return unitsName + ": " + lineText(line);
}

/// Finds the setting a column header names; nothing, with the reason in refusals, when there is none.
std::optional<ColumnTarget> targetOf(const std::string& name, const Json& templateJson,
                                     const std::string& where, std::vector<std::string>& refusals) {
    static const std::regex form(R"(([A-Za-z0-9]+)(\[([0-9]{1,2})\])?)");
    std::smatch parts;
    const bool known = std::regex_match(name, parts, form) && templateJson.contains(parts[1].str());
    if (!known) {
        refusals.push_back(where + "'" + name + "' není jméno nastavení (jména vypíše orbctl schema)");
        return std::nullopt;
    }
    ColumnTarget target{parts[1].str(), std::nullopt};
    const Json& value = templateJson.at(target.key);
    if (parts[2].matched != value.is_array()) {
        refusals.push_back(where + name +
                           (value.is_array()
                                ? ": nastavení má řádky, zadejte jeden z nich jako " + target.key + "[0]"
                                : ": nastavení nemá řádky"));
        return std::nullopt;
    }
    if (parts[2].matched) {
        target.element = std::stoul(parts[3].str());
        if (*target.element >= value.size()) {
            refusals.push_back(where + name + ": řádky jsou číslovány 0 až " +
                               std::to_string(value.size() - 1));
            return std::nullopt;
        }
    }
    return target;
}

std::vector<ColumnTarget> columnTargets(const CsvRecord& header, const Json& templateJson,
                                        const std::string& unitsName, std::vector<std::string>& refusals) {
    std::vector<ColumnTarget> targets;
    std::set<std::string> named;
    for (const std::string& name : header.fields) {
        if (!named.insert(name).second)
            refusals.push_back(lineText(unitsName, header.line) + name + ": sloupec je v záhlaví podruhé");
        targets.push_back(targetOf(name, templateJson, lineText(unitsName, header.line), refusals)
                              .value_or(ColumnTarget{}));
    }
    return targets;
}

/// Takes a cell as the JSON value that stands in the template there: a text as it is, a check box as a
/// boolean, a reserved byte as a number. Nothing when the cell cannot be one.
std::optional<Json> cellValue(const std::string& cell, const Json& like) {
    if (like.is_string()) return Json(cell);
    if (like.is_boolean()) {
        if (cell == "true" || cell == "1" || cell == "ano") return Json(true);
        if (cell == "false" || cell == "0" || cell == "ne") return Json(false);
        return std::nullopt;
    }
    if (cell.empty() || cell.size() > 3 || cell.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return Json(std::stoi(cell));
}

std::string cellRefusal(const Json& like) {
    return like.is_boolean() ? "Hodnota musí být true nebo false." : "Hodnota musí být celé číslo 0 až 255.";
}

/// Imports one set of settings; refusals and corrections are prefixed with where they come from.
struct ImportedSettings {
    std::optional<std::vector<std::uint8_t>> image;
    Json settings; ///< every setting as the image holds it
    std::vector<std::string> corrections;
};

ImportedSettings importSettings(const Json& json, std::optional<int> memoryBytes, const std::string& where,
                                std::vector<std::string>& refusals) {
    Workspace workspace;
    const ImportOutcome outcome = ImportJson(json, memoryBytes, *workspace.image);
    for (const Refusal& refusal : outcome.refusals)
        refusals.push_back(where + (refusal.setting.empty() ? "" : refusal.setting + ": ") + refusal.message);
    if (!outcome.refusals.empty()) return {};
    std::vector<std::uint8_t> image(static_cast<std::size_t>(outcome.length));
    for (std::int32_t address = 0; address < outcome.length; ++address)
        image[static_cast<std::size_t>(address)] = workspace.image->getByte(address);
    // What the rules made of the values shows where the settings decoded from the image differ.
    DecodeImage(*workspace.image, workspace.form);
    workspace.view.takeBoxes();
    ImportedSettings imported{std::move(image), WorkspaceJson(workspace), {}};
    for (const std::string& difference : DiffSettings(json, imported.settings))
        imported.corrections.push_back(where + difference);
    return imported;
}

} // namespace

SeriesRowsOutcome BuildSeriesRows(const Json& templateJson, const std::vector<CsvRecord>& records,
                                  std::optional<int> memoryBytes, const SeriesSources& sources) {
    SeriesRowsOutcome outcome;
    const std::string templateWhere = sources.templateName + ": ";
    const ImportedSettings base = importSettings(templateJson, memoryBytes, templateWhere, outcome.refusals);
    outcome.corrections = base.corrections;
    if (!base.image) return outcome;
    if (records.empty()) {
        outcome.rows.push_back({0, "", *base.image});
        return outcome;
    }
    // A site's series is tens of units; the bound keeps a file given by mistake (a whole customer list)
    // from holding the series for minutes and filling the terminal before the first unit is greeted.
    const CsvRecord& header = records.front();
    if (records.size() - 1 > MaxSeriesRows) {
        outcome.refusals.push_back(
            lineText(sources.unitsName, header.line) + "soubor má " + std::to_string(records.size() - 1) +
            " řádků zařízení, série jich vezme nejvýše " + std::to_string(MaxSeriesRows));
        return outcome;
    }
    // The rows go over every setting of the template, those a JSON template leaves out included.
    const std::vector<ColumnTarget> targets =
        columnTargets(header, base.settings, sources.unitsName, outcome.refusals);
    if (!outcome.refusals.empty()) return outcome;

    std::map<std::vector<std::uint8_t>, int> lineOfImage;
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        const std::string where = lineText(sources.unitsName, record->line);
        if (record->fields.size() != targets.size()) {
            outcome.refusals.push_back(where + "řádek má " + std::to_string(record->fields.size()) +
                                       " hodnot, záhlaví " + std::to_string(targets.size()));
            continue;
        }
        Json json = base.settings;
        bool taken = true;
        for (std::size_t column = 0; column < targets.size(); ++column) {
            const ColumnTarget& target = targets[column];
            Json& slot = target.element ? json[target.key][*target.element] : json[target.key];
            const std::optional<Json> value = cellValue(record->fields[column], slot);
            if (!value) {
                outcome.refusals.push_back(where + header.fields[column] + ": " + cellRefusal(slot));
                taken = false;
                continue;
            }
            slot = *value;
        }
        if (!taken) continue;
        ImportedSettings imported = importSettings(json, memoryBytes, where, outcome.refusals);
        if (!imported.image) continue;
        // Only the row's own values: the template's corrections were listed once, under its name.
        for (const std::string& correction : imported.corrections) {
            const std::string setting =
                correction.substr(where.size(), correction.find(':', where.size()) - where.size());
            if (std::find(header.fields.begin(), header.fields.end(), setting) != header.fields.end())
                outcome.corrections.push_back(correction);
        }
        const auto [same, added] = lineOfImage.emplace(*imported.image, record->line);
        if (!added) {
            outcome.refusals.push_back(where + "nastavení je stejné jako na řádku " +
                                       std::to_string(same->second) + "; zařízení by nešlo od sebe rozeznat");
            continue;
        }
        outcome.rows.push_back({record->line, record->fields.front(), std::move(*imported.image)});
    }
    if (records.size() == 1)
        outcome.refusals.push_back(lineText(sources.unitsName, header.line) +
                                   "soubor nemá žádný řádek zařízení");
    return outcome;
}

} // namespace orb
