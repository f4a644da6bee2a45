#include "cli/JsonImport.h"
#include "cli/tests/CliTestSupport.h"
#include "cli/Workspace.h"
#include "image/EncodeImage.h"

#include <gtest/gtest.h>
#include <random>
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

/// Random settings that every rule of the window accepts, with numbers already in international form.
class ValidSettings {
  public:
    explicit ValidSettings(unsigned seed) : random_(seed) {}

    SettingsRecord next() {
        SettingsRecord r;
        r.tabJmenoStanice = pick({"", "CHATA", "Chata Světlo", "Sklep \"U Žáby\" ~ 1"});
        r.tabPIN = digits(0, 8);
        r.tabTCcentra = pick({"", "+420603052000", "602909909"});
        r.tabDobaPlatnostiSMS = std::to_string(number(1, 30));
        r.tabBezpecRezim = coin();
        r.tabOdpovidatT0 = coin();
        r.tabPrepnoutNepovolPristup = coin();
        r.opNotAuthorized = coin();
        r.rtNotAuthorized = pick({"", "Pristup odepren!", "~{x}|y"});
        r.tabPrepnoutJTS = coin();
        r.tabPrepnoutJTSCislo = r.tabPrepnoutJTS ? std::to_string(number(0, 9)) : "0";
        const int alarmRow = number(-1, 7);
        for (int row = 0; row < RowCount; ++row) {
            const std::string n = std::to_string(row);
            r.tabTC[row] = coin() ? "+" + digits(1, 20) : "";
            const bool hasNumber = !r.tabTC[row].empty();
            r.tabTCPrijem[row] = hasNumber && coin();
            r.tabTCUdalost[row] = hasNumber && coin();
            r.tabTCPoplach[row] = hasNumber && row == alarmRow;
            // Distinct first letters and row digits keep names, on- and off-words clear of each other and
            // of the unit's keywords.
            r.tabINPNazev[row] = maybe("I" + n + "-vstup");
            r.tabINPZap[row] = maybe("A" + n + " aktivni");
            r.tabINPVyp[row] = maybe("N" + n + " klid");
            r.tabINPLH[row] = maybe("poplach [" + n + "]");
            r.tabINPHL[row] = maybe("konec " + n);
            r.tabOUTNazev[row] = maybe("O" + n + "_svetlo");
            r.tabOUTZap[row] = maybe("Z" + n + "on");
            r.tabOUTVyp[row] = maybe("V" + n + "off");
            r.tabOUTimpuls[row] = maybe("P" + n + "imp");
            r.tabOUTimpulsLEN[row] = std::to_string(number(0, 255));
            r.tabINPNeg[row] = coin();
            r.tabINPLHEvent[row] = coin();
            r.tabINPHLEvent[row] = coin();
            r.tabINPZpr[row] = coin();
            r.tabOUTNeg[row] = coin();
            r.tabOUTZpr[row] = coin();
        }
        r.opExist = coin();
        r.rtReCall = pick({"", "Jsem tu", "#1 ok"});
        r.eeExistTime = std::to_string(number(5, 65535));
        r.tabRFRWait = std::to_string(3 * number(1, 256));
        r.tabWaitFree = std::to_string(number(5, 90));
        r.tabKOMUNIKPocetTestu = std::to_string(number(1, 10));
        r.tabKOMUNIKPocetBloku = std::to_string(number(1, 100));
        r.tabKOMUNIKFormat = number(0, 1);
        r.tabKOMUNIKParita = number(0, 1);
        r.tabKOMUNIKFrekvence = number(0, 1);
        return r;
    }

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  private:
    bool coin() { return number(0, 1) == 1; }
    std::string maybe(const std::string& text) { return coin() ? text : ""; }
    std::string pick(std::initializer_list<const char*> texts) {
        return *(texts.begin() + number(0, int(texts.size()) - 1));
    }
    std::string digits(int minimum, int maximum) {
        std::string text(number(minimum, maximum), '0');
        for (char& digit : text)
            digit = static_cast<char>('0' + number(0, 9));
        return text;
    }

    std::mt19937 random_;
};

TEST(JsonRoundTrip, RandomValidSettingsAndReservedBytesComeBackByteForByte) {
    ValidSettings settings(20240611);
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
