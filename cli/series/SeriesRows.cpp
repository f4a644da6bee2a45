#include "cli/series/SeriesRows.h"

#include "cli/json/JsonImport.h"
#include "cli/json/SettingsDiff.h"
#include "cli/series/SeriesColumns.h"
#include "cli/terminal/TerminalText.h"
#include "cli/Workspace.h"
#include "image/CodecMessages.h"
#include "image/DecodeImage.h"

#include <algorithm>
#include <map>

namespace orb {

namespace {

constexpr std::string_view NeedsConsent =
    ": pravidlo pole by hodnotu změnilo; série ji přijme jen s volbou --accept-corrections";

/// A tab, a line break or ESC in a name would reach the unit's SMS messages, and in a spreadsheet's cell
/// nobody sees it: such a cell is a mistake, never a setting.
constexpr std::string_view ControlCharacterRefused =
    "; řídicí znaky (tabulátor, konec řádku, ESC, ...) série do zařízení nezapíše";

bool isTelephoneNumber(const std::string& key) {
    return key == fieldName(TextField::tabTC) || key == fieldName(TextField::tabTCcentra);
}

/// A telephone number without what only groups its digits for the eye: spaces (also the no-break spaces
/// a spreadsheet formats with), dashes, dots and brackets.
std::string withoutGrouping(std::string number) {
    for (const std::string_view space : {"\xC2\xA0", "\xE2\x80\xAF"})
        for (std::size_t at; (at = number.find(space)) != std::string::npos;)
            number.erase(at, space.size());
    std::erase_if(number, [](char c) { return c == ' ' || c == '-' || c == '.' || c == '(' || c == ')'; });
    return number;
}

std::optional<bool> booleanCell(std::string cell) {
    std::transform(cell.begin(), cell.end(), cell.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* yes : {"true", "1", "ano", "pravda"})
        if (cell == yes) return true;
    for (const char* no : {"false", "0", "ne", "nepravda"})
        if (cell == no) return false;
    return std::nullopt;
}

/// Takes a cell as the JSON value that stands in the template there: a text as it is, a check box as a
/// boolean, a reserved byte as a number. Nothing when the cell cannot be one.
std::optional<Json> cellValue(const std::string& cell, const Json& like, const SeriesColumn& column) {
    if (like.is_string()) return Json(isTelephoneNumber(column.key) ? withoutGrouping(cell) : cell);
    if (like.is_boolean()) {
        const std::optional<bool> value = booleanCell(cell);
        return value ? std::optional<Json>(Json(*value)) : std::nullopt;
    }
    if (cell.size() > 3 || cell.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return Json(std::stoi(cell));
}

std::string cellRefusal(const Json& like) {
    return like.is_boolean() ? "Hodnota musí být true nebo false (také ano/ne, pravda/nepravda, 1/0)."
                             : "Hodnota musí být celé číslo 0 až 255.";
}

/// One set of settings imported as orbctl import takes it.
struct ImportedSettings {
    std::optional<std::vector<std::uint8_t>> image;
    Json settings; ///< every setting as the image holds it
    std::vector<Refusal> refusals;
};

/// The settings an image holds, as export writes them; nothing when the decoder refuses the image.
std::optional<Json> decodedSettings(const std::vector<std::uint8_t>& image) {
    Workspace workspace;
    for (std::size_t address = 0; address < image.size(); ++address)
        workspace.image->putByte(static_cast<std::int32_t>(address), image[address]);
    if (!DecodeImage(*workspace.image, workspace.form)) return std::nullopt;
    return WorkspaceJson(workspace);
}

ImportedSettings importSettings(const Json& json, std::optional<int> memoryBytes) {
    Workspace workspace;
    ImportOutcome outcome = ImportJson(json, memoryBytes, *workspace.image);
    if (!outcome.refusals.empty()) return {std::nullopt, {}, std::move(outcome.refusals)};
    std::vector<std::uint8_t> image(static_cast<std::size_t>(outcome.length));
    for (std::int32_t address = 0; address < outcome.length; ++address)
        image[static_cast<std::size_t>(address)] = workspace.image->getByte(address);
    // What the rules made of the values shows where the settings decoded from the image differ. An image
    // the decoder refuses would never come back from the unit as these settings.
    std::optional<Json> settings = decodedSettings(image);
    if (!settings) return {std::nullopt, {}, {{"", DecodeErrorText}}};
    return {std::move(image), std::move(*settings), {}};
}

Json& slotOf(Json& settings, const SeriesColumn& column) {
    return column.element ? settings[column.key][*column.element] : settings[column.key];
}

bool allEmpty(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(), [](const std::string& field) { return field.empty(); });
}

/// Builds the rows one after another over the template, keeping every refusal and correction.
class RowsBuilder {
  public:
    RowsBuilder(const SeriesRowsOptions& options, const SeriesSources& sources, SeriesRowsOutcome& outcome)
        : options_(options), sources_(sources), outcome_(outcome) {}

    /// Imports the template; false when it cannot be imported at all.
    bool takeTemplate(const Json& templateJson) {
        const std::string where = sources_.templateName + ": ";
        base_ = importSettings(templateJson, options_.memoryBytes);
        for (const Refusal& refusal : base_.refusals)
            outcome_.refusals.push_back(where + (refusal.setting.empty() ? "" : refusal.setting + ": ") +
                                        refusal.message);
        if (!base_.image) return false;
        for (const SettingChange& change : SettingChanges(templateJson, base_.settings))
            changed({where + change.setting, change.from, change.to});
        return true;
    }

    bool takeHeader(const CsvRecord& header) {
        const auto columns = MatchSeriesHeader(header, base_.settings, sources_.unitsName, outcome_.refusals);
        if (!columns) return false;
        columns_ = *columns;
        if (!columns_.empty()) return true;
        outcome_.refusals.push_back(sources_.unitsName + ": řádek " + std::to_string(header.line) +
                                    ": záhlaví nemá žádné jméno nastavení");
        return false;
    }

    void templateRow() { outcome_.rows.push_back({0, "", *base_.image}); }
    void keepTemplateImage() { outcome_.templateImage = base_.image.value_or(std::vector<std::uint8_t>()); }

    void addRow(const CsvRecord& record) {
        const std::vector<std::string>& fields = record.fields;
        if (allEmpty(fields)) return;
        const std::string rowPlace = sources_.unitsName + ": řádek " + std::to_string(record.line) + ": ";
        if (fields.size() < columns_.size()) {
            outcome_.refusals.push_back(rowPlace + "řádek má " + std::to_string(fields.size()) +
                                        " hodnot, záhlaví " + std::to_string(columns_.size()));
            return;
        }
        for (std::size_t column = columns_.size(); column < fields.size(); ++column) {
            if (fields[column].empty()) continue;
            outcome_.refusals.push_back(CellPlace(sources_.unitsName, record.line, column) +
                                        ": hodnota ve sloupci, který nemá v záhlaví jméno nastavení");
            return;
        }
        Json json = base_.settings;
        bool taken = true;
        for (std::size_t column = 0; column < columns_.size(); ++column) {
            if (fields[column].empty()) continue; // the template's value stays
            if (const std::optional<std::string> control = FirstControlCharacter(fields[column])) {
                outcome_.refusals.push_back(place(record.line, column) + ": hodnota obsahuje řídicí znak " +
                                            *control + std::string(ControlCharacterRefused));
                taken = false;
                continue;
            }
            Json& slot = slotOf(json, columns_[column]);
            const std::optional<Json> value = cellValue(fields[column], slot, columns_[column]);
            if (!value) {
                outcome_.refusals.push_back(place(record.line, column) + ": " + cellRefusal(slot));
                taken = false;
                continue;
            }
            slot = *value;
        }
        if (!taken) return;
        ImportedSettings imported = importSettings(json, options_.memoryBytes);
        for (const Refusal& refusal : imported.refusals)
            outcome_.refusals.push_back(placeOf(refusal.setting, record.line, rowPlace) + refusal.message);
        if (!imported.image) return;
        const std::size_t refusedBefore = outcome_.refusals.size();
        for (std::size_t column = 0; column < columns_.size(); ++column) {
            if (fields[column].empty()) continue;
            const Json& given = slotOf(json, columns_[column]);
            const Json& stored = slotOf(imported.settings, columns_[column]);
            if (given != stored) changed({place(record.line, column), given, stored});
        }
        if (outcome_.refusals.size() > refusedBefore) return;
        const auto [same, added] = lineOfImage_.emplace(*imported.image, record.line);
        if (!added) {
            outcome_.refusals.push_back(rowPlace + "nastavení je stejné jako na řádku " +
                                        std::to_string(same->second) +
                                        "; zařízení by nešlo od sebe rozeznat");
            return;
        }
        const Json& first = slotOf(imported.settings, columns_.front());
        std::string label =
            fields.front().empty() && first.is_string() ? first.get<std::string>() : fields.front();
        outcome_.rows.push_back({record.line, std::move(label), std::move(*imported.image)});
    }

  private:
    /// "jednotky.csv: řádek 4, sloupec C (tabTC[0])"
    std::string place(int line, std::size_t column) const {
        return CellPlace(sources_.unitsName, line, column) + " (" + columns_[column].name + ")";
    }

    /// The place of a refusal the import gave for a setting: its column when the header has one.
    std::string placeOf(const std::string& setting, int line, const std::string& rowPlace) const {
        const auto column = std::find_if(columns_.begin(), columns_.end(),
                                         [&](const SeriesColumn& c) { return c.name == setting; });
        if (column != columns_.end())
            return place(line, static_cast<std::size_t>(column - columns_.begin())) + ": ";
        return rowPlace + (setting.empty() ? "" : setting + ": ");
    }

    /// A value the rules changed: taken and listed with consent, refused without it.
    void changed(const SettingChange& change) {
        if (options_.acceptCorrections)
            outcome_.corrections.push_back(ChangeText(change));
        else
            outcome_.refusals.push_back(ChangeText(change) + std::string(NeedsConsent));
    }

    const SeriesRowsOptions& options_;
    const SeriesSources& sources_;
    SeriesRowsOutcome& outcome_;
    ImportedSettings base_;
    std::vector<SeriesColumn> columns_;
    std::map<std::vector<std::uint8_t>, int> lineOfImage_;
};

} // namespace

SeriesRowsOutcome BuildSeriesRows(const Json& templateJson, const std::vector<CsvRecord>& records,
                                  const SeriesRowsOptions& options, const SeriesSources& sources) {
    SeriesRowsOutcome outcome;
    RowsBuilder builder(options, sources, outcome);
    if (!builder.takeTemplate(templateJson)) return outcome;
    builder.keepTemplateImage();
    if (records.empty()) {
        builder.templateRow();
        return outcome;
    }
    // A site's series is tens of units; the bound keeps a file given by mistake (a whole customer list)
    // from holding the series for minutes and filling the terminal before the first unit is greeted.
    const CsvRecord& header = records.front();
    if (records.size() - 1 > MaxSeriesRows) {
        outcome.refusals.push_back(sources.unitsName + ": řádek " + std::to_string(header.line) +
                                   ": soubor má " + std::to_string(records.size() - 1) +
                                   " řádků zařízení, série jich vezme nejvýše " +
                                   std::to_string(MaxSeriesRows));
        return outcome;
    }
    if (!builder.takeHeader(header)) return outcome;
    for (auto record = records.begin() + 1; record != records.end(); ++record)
        builder.addRow(*record);
    if (outcome.rows.empty() && outcome.refusals.empty())
        outcome.refusals.push_back(sources.unitsName + ": řádek " + std::to_string(header.line) +
                                   ": soubor nemá žádný řádek zařízení");
    return outcome;
}

std::vector<std::string> SeriesRowDifferences(const std::vector<std::uint8_t>& templateImage,
                                              const SeriesRow& row) {
    // Both images were decoded when the rows were built.
    return DiffSettings(decodedSettings(templateImage).value(), decodedSettings(row.image).value());
}

} // namespace orb
