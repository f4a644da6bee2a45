#include "cli/json/JsonImport.h"
#include "cli/tests/CliTestSupport.h"
#include "cli/tests/ValidSettings.h"
#include "cli/Workspace.h"
#include "image/EncodeImage.h"

#include <gtest/gtest.h>
#include <sstream>

namespace orb {
namespace {

using testing_support::TempDir;

/// Exports a file's settings, passes the JSON through its text form and imports it again.
std::vector<std::uint8_t> exportThenImport(const std::vector<std::uint8_t>& file, Json* exported = nullptr) {
    TempDir dir;
    Workspace workspace;
    std::ostringstream notices;
    LoadSettingsFrom(dir.write("in.eep", file), workspace, notices);
    EXPECT_EQ(notices.str(), "");
    const Json json = Json::parse(WorkspaceJson(workspace).dump(2));
    if (exported) *exported = json;

    EepromImage image;
    const ImportOutcome outcome = ImportJson(json, std::nullopt, image);
    for (const Refusal& refusal : outcome.refusals)
        ADD_FAILURE() << refusal.setting << ": " << refusal.message;
    std::vector<std::uint8_t> bytes;
    for (std::int32_t address = 0; address < outcome.length; ++address)
        bytes.push_back(image.getByte(address));
    return bytes;
}

TEST(JsonRoundTrip, DefaultImageComesBackByteForByte) {
    Json json;
    EXPECT_EQ(exportThenImport(testing_support::DefaultImage(), &json), testing_support::DefaultImage());
    EXPECT_EQ(json["tabDobaPlatnostiSMS"], "3");
    EXPECT_EQ(json["tabKOMUNIKParita"], "Bez parity");
    EXPECT_EQ(json["opNotAuthorized"], false); // empty report text: the image keeps the bit clear
    EXPECT_EQ(json["tabOUTimpulsLEN"], Json::array({"1", "1", "1", "1", "1", "1", "1", "1"}));
    EXPECT_FALSE(json.contains("tabUTO"));
    EXPECT_FALSE(json.contains("CheckWrite"));
    EXPECT_FALSE(json.contains("tabPort"));
}

TEST(JsonRoundTrip, WorkedExampleComesBackByteForByte) {
    Json json;
    EXPECT_EQ(exportThenImport(testing_support::ExampleImage(), &json), testing_support::ExampleImage());
    EXPECT_EQ(json["tabINPNazev"][0], "A1");
    EXPECT_EQ(json["tabJmenoStanice"], "CHATA");
    EXPECT_EQ(json["tabTC"][0], "+12345");
}

TEST(JsonRoundTrip, RandomValidSettingsAndReservedBytesComeBackByteForByte) {
    testing_support::ValidSettings settings(20240611);
    for (int run = 0; run < 25; ++run) {
        EepromImage image;
        for (std::int32_t address : {27, 28, 29, 30, 31, 63})
            image.putByte(address, settings.number(0, 255));
        const std::int32_t length = EncodeImage(settings.next(), image);
        std::vector<std::uint8_t> file;
        for (std::int32_t address = 0; address < length; ++address)
            file.push_back(image.getByte(address));
        ASSERT_EQ(exportThenImport(file), file) << "run " << run;
    }
}

} // namespace
} // namespace orb
