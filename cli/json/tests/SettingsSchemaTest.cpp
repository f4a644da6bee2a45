// The settings' JSON Schema, checked by an independent validator (Debian's python3-jsonschema): every
// export meets it, and whatever the import refuses for its form, its length or its range, it refuses too.
#include "cli/json/SettingsSchema.h"

#include "cli/json/JsonImport.h"
#include "cli/tests/CliTestSupport.h"
#include "cli/tests/ValidSettings.h"
#include "cli/Workspace.h"
#include "image/DecodeImage.h"
#include "image/EncodeImage.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <regex>

namespace orb {
namespace {

using testing_support::TempDir;

/// Runs the validator over the documents; returns its line for each: "ok" or "refused: " and why.
std::vector<std::string> validate(const std::vector<Json>& documents) {
    TempDir dir;
    const std::string schema = dir.file("schema.json");
    const std::string list = dir.file("documents.json");
    const std::string schemaText = SettingsSchema().dump(2);
    const std::string listText = Json(documents).dump();
    dir.write("schema.json", {schemaText.begin(), schemaText.end()});
    dir.write("documents.json", {listText.begin(), listText.end()});

    const std::string command =
        std::string(ORB_PYTHON) + " " + ORB_VALIDATE_JSON + " '" + schema + "' '" + list + "' 2>&1";
    std::vector<std::string> lines;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return lines;
    std::string line;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    const int status = ::pclose(pipe);
    EXPECT_EQ(status, 0) << "the validator (" << ORB_PYTHON
                         << " with python3-jsonschema) failed: " << (lines.empty() ? line : lines.front());
    EXPECT_EQ(lines.size(), documents.size());
    lines.resize(documents.size());
    return lines;
}

/// Exports the settings as orbctl does from a file that holds them.
Json exported(const SettingsRecord& record, std::uint8_t reserved) {
    Workspace workspace;
    for (std::int32_t address : {27, 28, 29, 30, 31, 63})
        workspace.image->putByte(address, reserved);
    EncodeImage(record, *workspace.image);
    EXPECT_TRUE(DecodeImage(*workspace.image, workspace.form));
    return WorkspaceJson(workspace);
}

TEST(SettingsSchema, NumberPatternsMatchExactlyTheWholeNumbersOfTheRange) {
    std::vector<NumberRange> ranges = {{0, 0}, {7, 7}, {10, 99}, {1, 1000}, {123, 4567}, {9, 10}};
    for (TextField field : AllTextFields)
        if (const auto range = numberRange(field)) ranges.push_back(*range);
    for (const NumberRange& range : ranges) {
        const std::string pattern = WholeNumberPattern(range);
        const std::regex regex(pattern);
        for (long long value = 0; value <= 2 * range.max + 100; ++value)
            ASSERT_EQ(std::regex_match(std::to_string(value), regex),
                      value >= range.min && value <= range.max)
                << pattern << " for " << value;
        EXPECT_FALSE(std::regex_match("", regex)) << pattern;
        EXPECT_FALSE(std::regex_match("0" + std::to_string(range.max), regex)) << pattern;
    }
}

TEST(SettingsSchema, ExportsOfRandomSettingsMeetIt) {
    testing_support::ValidSettings settings(20261210);
    std::vector<Json> documents = {exported(SettingsRecord{}, 0)};
    for (int run = 0; run < 40; ++run)
        documents.push_back(exported(settings.next(), static_cast<std::uint8_t>(settings.number(0, 255))));
    const std::vector<std::string> verdicts = validate(documents);
    for (std::size_t i = 0; i < verdicts.size(); ++i)
        EXPECT_EQ(verdicts[i], "ok") << documents[i].dump();
}

/// A value put into the exported start-up settings: under key, in a row setting at row 3.
struct Candidate {
    std::string key;
    Json value;
    bool importRefuses; ///< the import must refuse it; otherwise it may correct it
};

/// Values of every form the import refuses, and the longest and largest texts each field takes plus one.
std::vector<Candidate> candidates() {
    std::vector<Candidate> list = {
        {"tabNazev", "x", true},
        {"tabKOMUNIKFormat", "CID", true},
        {"tabKOMUNIKParita", 1, true},
        {"opExist", "yes", true},
        {"tabINPNeg", Json::array({true}), true},
        {"tabPIN", true, true},
        {Reserved63Key, 256, true},
        {Reserved27to31Key, Json::array({0, 0, 0, 0}), true},
        {Reserved27to31Key, Json::array({0, 0, -1, 0, 0}), true},
    };
    for (TextField field : AllTextFields) {
        if (isOption(field)) continue;
        const std::string key(fieldName(field));
        if (isRowField(field)) list.push_back({key, Json::array({"", ""}), true});
        if (const int length = maxTextLength(field); length > 0)
            list.push_back({key, std::string(static_cast<std::size_t>(length) + 1, '1'), true});
        if (const auto range = numberRange(field)) {
            list.push_back({key, "", true});
            list.push_back({key, "1x", true});
            list.push_back({key, std::to_string(range->max + 1), false});
            if (range->min > 0) list.push_back({key, std::to_string(range->min - 1), false});
        }
    }
    return list;
}

TEST(SettingsSchema, RefusesWhatTheImportRefusesForItsFormLengthOrRange) {
    const Json startUp = exported(SettingsRecord{}, 0);
    const std::vector<Candidate> list = candidates();
    std::vector<Json> documents;
    std::vector<bool> importRefused;
    int refusedByImport = 0;
    for (const Candidate& candidate : list) {
        Json document = startUp;
        Json& slot = document.contains(candidate.key) && document[candidate.key].is_array() &&
                             document[candidate.key].size() == RowCount && !candidate.value.is_array()
                         ? document[candidate.key][3]
                         : document[candidate.key];
        slot = candidate.value;
        EepromImage image;
        const bool refused = !ImportJson(document, std::nullopt, image).refusals.empty();
        EXPECT_TRUE(refused || !candidate.importRefuses) << "the import takes " << document.dump();
        documents.push_back(document);
        importRefused.push_back(refused);
        refusedByImport += refused;
    }
    // The pulse length, which no rule corrects, is the one number the import refuses above its range.
    EXPECT_GT(refusedByImport,
              std::count_if(list.begin(), list.end(), [](const Candidate& c) { return c.importRefuses; }));
    const std::vector<std::string> verdicts = validate(documents);
    for (std::size_t i = 0; i < verdicts.size(); ++i)
        EXPECT_TRUE(!importRefused[i] || verdicts[i].starts_with("refused")) << documents[i].dump();
}

} // namespace
} // namespace orb
