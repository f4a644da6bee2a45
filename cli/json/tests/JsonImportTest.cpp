#include "cli/json/JsonImport.h"

#include "cli/Workspace.h"
#include "image/DecodeImage.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

const std::string CommandChars = "_0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string MessageTextChars =
    " !#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]\\^_`abcdefghijklmnopqrstuvwxyz{}|~";
const std::string Keywords = "STATE;STAV;BACK;NOBACK;RESET;SHUTDOWN;NAME;ZPET;NEZPET;JMENO";

/// Eight row values, all `fill` except the given rows.
Json rows(std::initializer_list<std::pair<int, Json>> set, Json fill = "") {
    Json array = Json::array();
    for (int row = 0; row < 8; ++row)
        array.push_back(fill);
    for (const auto& [row, value] : set)
        array[row] = value;
    return array;
}

Json flags(std::initializer_list<int> set) {
    Json array = rows({}, false);
    for (int row : set)
        array[row] = true;
    return array;
}

struct RefusalCase {
    Json json;
    Refusal expected;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.json.dump();
}

class ImportRefuses : public testing::TestWithParam<RefusalCase> {};

TEST_P(ImportRefuses, WithTheWindowsMessageAndTheSettingsName) {
    EepromImage image;
    const ImportOutcome outcome = ImportJson(GetParam().json, std::nullopt, image);
    EXPECT_EQ(outcome.refusals, std::vector<Refusal>{GetParam().expected});
    EXPECT_EQ(outcome.length, 0);
    EXPECT_FALSE(CheckImageSignature(image));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ImportRefuses,
    testing::Values(
        RefusalCase{
            {{"tabINPNazev", rows({{2, "Stav"}})}},
            {"tabINPNazev[2]",
             "Název vstupu nesmí být žádné z těchto klíčových slov (ani jejich předpony): " + Keywords}},
        RefusalCase{{{"tabOUTNazev", rows({{0, "Světlo"}})}},
                    {"tabOUTNazev[0]", "Název výstupu může obsahovat pouze tyto znaky: " + CommandChars}},
        RefusalCase{{{"rtNotAuthorized", "a\"b"}},
                    {"rtNotAuthorized", "Text může obsahovat pouze tyto znaky: " + MessageTextChars}},
        RefusalCase{{{"tabDobaPlatnostiSMS", "3a"}},
                    {"tabDobaPlatnostiSMS",
                     "Doba platnosti SMS zprávy je špatně zadána. Povolené hodnoty jsou '1','2',..,'30'."}},
        RefusalCase{{{"tabRFRWait", ""}},
                    {"tabRFRWait", "Zadaná hodnota musí být celé číslo dělitelné třemi (3-768)."}},
        RefusalCase{{{"tabPIN", "12a4"}}, {"tabPIN", "PIN je špatně zadán."}},
        RefusalCase{{{"tabTC", rows({{2, "12-34"}})}}, {"tabTC[2]", "Telefonní číslo je špatně zadáno."}},
        // The clash of an on- and off-name is reported once, for the on-name.
        RefusalCase{{{"tabINPZap", rows({{0, "ZAP"}})}, {"tabINPVyp", rows({{0, "zap"}})}},
                    {"tabINPZap[0]", "Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'."}},
        RefusalCase{{{"tabTCPrijem", flags({3})}},
                    {"tabTCPrijem[3]",
                     "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Příjem' nezaškrtnuté."}},
        RefusalCase{
            {{"tabTC", rows({{2, "+1"}, {5, "+2"}})}, {"tabTCPoplach", flags({2, 5})}},
            {"tabTCPoplach[5]",
             "V této verzi je možno povolit volání pouze na jedno telefonní číslo. Má to být právě toto?"}},
        RefusalCase{{{"tabOUTNazev", rows({{1, "SVETLO"}, {4, "SVETLO2"}})}},
                    {"tabOUTNazev[1]",
                     "Název výstupu 'O1' není správně zadán. Jména výstupů se nesmějí shodovat "
                     "a ani být předponou jiného názvu výstupu. EEPROM nelze naprogramovat "
                     "dokud toto nebude odstraněno."}},
        // The edit controls' limits, and the pulse length that no rule brings into its range.
        RefusalCase{{{"tabPIN", "123456789"}}, {"tabPIN", "Text smí mít nejvýše 8 znaků."}},
        RefusalCase{{{"tabDobaPlatnostiSMS", "100"}},
                    {"tabDobaPlatnostiSMS", "Text smí mít nejvýše 2 znaky."}},
        RefusalCase{{{"tabPrepnoutJTSCislo", "12"}}, {"tabPrepnoutJTSCislo", "Text smí mít nejvýše 1 znak."}},
        RefusalCase{{{"tabINPZap", rows({{5, std::string(101, 'a')}})}},
                    {"tabINPZap[5]", "Text smí mít nejvýše 100 znaků."}},
        RefusalCase{{{"tabOUTimpulsLEN", rows({{6, 256}}, "1")}},
                    {"tabOUTimpulsLEN[6]", "Hodnota musí být celé číslo 0 až 255."}},
        RefusalCase{{{"tabJmenoStanice", "日本"}},
                    {"tabJmenoStanice", "Text obsahuje znak '日' (U+65E5), který nelze uložit do EEPROM. Lze "
                                        "použít pouze znaky kódové stránky Windows-1250."}}));

INSTANTIATE_TEST_SUITE_P(
    Limits, ImportRefuses,
    testing::Values(
        RefusalCase{{{"tabTC", rows({{3, std::string(51, '1')}})}},
                    {"tabTC[3]", "Text smí mít nejvýše 50 znaků."}},
        RefusalCase{{{"tabJmenoStanice", std::string(150, 'x')}},
                    {"tabJmenoStanice", "Text smí mít nejvýše 100 znaků."}},
        RefusalCase{{{"tabOUTimpulsLEN", rows({{1, 999999}}, "1")}},
                    {"tabOUTimpulsLEN[1]", "Hodnota musí být celé číslo 0 až 255."}},
        RefusalCase{{{"tabOUTimpulsLEN", rows({{1, "999999"}}, "1")}},
                    {"tabOUTimpulsLEN[1]", "Text smí mít nejvýše 3 znaky."}},
        RefusalCase{{{"eeExistTime", 2.5}}, {"eeExistTime", "Hodnota musí být celé číslo 5 až 65535."}},
        RefusalCase{
            {{"tabJmenoStanice", std::string("a\0b", 3)}},
            {"tabJmenoStanice", "Text nesmí obsahovat znak s kódem 0 (NUL), ten v EEPROM ukončuje text."}},
        // The one text without a limit can still outgrow the largest EEPROM.
        RefusalCase{{{"tabTCcentra", std::string(70000, '1')}},
                    {"tabTCcentra", "Velikost dat v nastavení (70150 byte) je větší než je možno vložit do "
                                    "EEPROM ( 65536 byte)."}},
        RefusalCase{{{std::string(1000000, 'x'), 1}}, {std::string(40, 'x') + "…", "Neznámé nastavení."}},
        RefusalCase{{{"čtyřicet" + std::string(33, '_'), 1}},
                    {"čtyřicet" + std::string(32, '_') + "…", "Neznámé nastavení."}}));

INSTANTIATE_TEST_SUITE_P(
    Form, ImportRefuses,
    testing::Values(
        RefusalCase{Json::array(), {"", "JSON musí být objekt, jehož klíče jsou jména nastavení."}},
        RefusalCase{{{"tabNazev", "x"}}, {"tabNazev", "Neznámé nastavení."}},
        RefusalCase{{{"tabUTO", "+421"}}, {"tabUTO", "Neznámé nastavení."}},
        RefusalCase{{{"opExist", "yes"}}, {"opExist", "Hodnota musí být true nebo false."}},
        RefusalCase{{{"tabPIN", true}}, {"tabPIN", "Hodnota musí být text."}},
        RefusalCase{{{"tabTC", "+420"}}, {"tabTC", "Hodnota musí být pole osmi hodnot, pro řádky 0 až 7."}},
        RefusalCase{{{"tabKOMUNIKFormat", "CID"}},
                    {"tabKOMUNIKFormat", "Hodnota musí být jedna z voleb: SIA, Pulzní."}},
        RefusalCase{{{"reserved27to31", {0, 0, -1, 0, 0}}},
                    {"reserved27to31[2]", "Hodnota musí být celé číslo 0 až 255."}}));

TEST(ImportJson, ReportsEveryRefusalInTheOrderTheWindowMeetsThem) {
    EepromImage image;
    const Json json = {{"tabPIN", "x"}, {"tabTCPrijem", flags({0})}, {"tabINPNazev", rows({{7, "~"}})}};
    const ImportOutcome outcome = ImportJson(json, std::nullopt, image);
    ASSERT_EQ(outcome.refusals.size(), 3u);
    EXPECT_EQ(outcome.refusals[0].setting, "tabPIN");
    EXPECT_EQ(outcome.refusals[1].setting, "tabINPNazev[7]");
    EXPECT_EQ(outcome.refusals[2].setting, "tabTCPrijem[0]");
}

bool hasCzechLetter(const std::string& text) {
    for (const char* letter : {"á", "č", "ď", "é", "ě", "í", "ň", "ó", "ř", "š", "ť", "ú", "ů", "ý", "ž"})
        if (text.find(letter) != std::string::npos) return true;
    return false;
}

TEST(ImportJson, EveryRefusalNamesTheSettingInCzechAndEchoesNoHugeInput) {
    const std::string huge(10'000'000, '7');
    const struct {
        Json json;
        std::string setting;
    } cases[] = {
        {{{"tabJmenoStanice", std::string("a\0b", 3)}}, "tabJmenoStanice"},
        {{{"tabJmenoStanice", huge}}, "tabJmenoStanice"},
        {{{"tabTCcentra", huge}}, "tabTCcentra"},
        {{{"tabTCcentra", "日" + huge}}, "tabTCcentra"},
        {{{"rtReCall", "x😀"}}, "rtReCall"},
        {{{"tabOUTimpulsLEN", rows({{4, 999999}}, "1")}}, "tabOUTimpulsLEN[4]"},
        {{{"tabOUTimpulsLEN", rows({{4, -1}}, "1")}}, "tabOUTimpulsLEN[4]"},
        {{{"tabOUTimpulsLEN", rows({{4, huge}}, "1")}}, "tabOUTimpulsLEN[4]"},
        {{{"tabWaitFree", 1e300}}, "tabWaitFree"},
        {{{"tabPIN", Json::object()}}, "tabPIN"},
        {{{"tabTC", rows({{1, nullptr}})}}, "tabTC[1]"},
        {{{"tabINPNazev", huge}}, "tabINPNazev"},
        {{{"tabTCPrijem", rows({{6, huge}}, false)}}, "tabTCPrijem[6]"},
        {{{"tabKOMUNIKParita", huge}}, "tabKOMUNIKParita"},
        {{{"reserved63", huge}}, "reserved63"},
        {{{"reserved27to31", huge}}, "reserved27to31"},
        {{{huge, 1}}, std::string(40, '7') + "…"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        EepromImage image;
        const ImportOutcome outcome = ImportJson(c.json, std::nullopt, image);
        EXPECT_FALSE(outcome.refusals.empty());
        for (const Refusal& refusal : outcome.refusals) {
            EXPECT_EQ(refusal.setting, c.setting);
            EXPECT_TRUE(hasCzechLetter(refusal.message)) << refusal.message;
            EXPECT_LT(refusal.message.size(), 300u);
        }
    }
}

TEST(ImportJson, CorrectsNumbersAndTelephoneNumbersAsTheWindowDoes) {
    EepromImage image;
    const Json json = {{"tabDobaPlatnostiSMS", "45"},
                       {"tabRFRWait", "100"},
                       {"eeExistTime", 7},
                       {"tabTC", rows({{2, "0123456789"}})},
                       {"tabTCPrijem", flags({2})}};
    const ImportOutcome outcome = ImportJson(json, std::nullopt, image);
    ASSERT_TRUE(outcome.refusals.empty()) << outcome.refusals[0].message;
    const std::vector<Correction> corrections{{"tabDobaPlatnostiSMS", "45", "30"},
                                              {"tabRFRWait", "100", "99"},
                                              {"tabTC[2]", "0123456789", "+420123456789", true}};
    EXPECT_EQ(outcome.corrections, corrections);
    EXPECT_EQ(image.getByte(33), 196);    // 30 days
    EXPECT_EQ(image.getByte(45), 32);     // 99 s
    EXPECT_EQ(image.getWord(59), 0x80DF); // 7 minutes: 164063 periods
    EXPECT_EQ(image.getWord(61), 0x0002);

    Workspace decoded;
    ASSERT_TRUE(DecodeImage(image, decoded.form));
    EXPECT_EQ(decoded.form.record().tabTC[2], "+420123456789");
    EXPECT_TRUE(decoded.form.record().tabTCPrijem[2]);
}

TEST(ImportJson, ListsEveryCorrectionWithTheGivenAndTheStoredValue) {
    EepromImage image;
    const Json json = {{"tabWaitFree", 169}, {"eeExistTime", "81915"}, {"tabKOMUNIKPocetBloku", "0"}};
    const ImportOutcome outcome = ImportJson(json, std::nullopt, image);
    ASSERT_TRUE(outcome.refusals.empty()) << outcome.refusals[0].message;
    std::vector<std::string> lines;
    for (const Correction& correction : outcome.corrections)
        lines.push_back(CorrectionText(correction));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "tabWaitFree: 169 -> \"90\" (opraveno podle pravidla pole)",
                         "eeExistTime: \"81915\" -> \"65535\" (opraveno podle pravidla pole)",
                         "tabKOMUNIKPocetBloku: \"0\" -> \"1\" (opraveno podle pravidla pole)",
                     }));
    EXPECT_EQ(CorrectionText({"tabTC[0]", "602123456", "+420602123456", true}),
              "tabTC[0]: \"602123456\" -> \"+420602123456\" (číslo se ukládá v mezinárodním tvaru; soubor, "
              "který je měl v národním, z JSON znovu nevznikne)");
    // A value stored as given is no correction, whatever JSON type carried it.
    EXPECT_TRUE(
        ImportJson({{"tabWaitFree", 45}, {"tabPIN", "1234"}}, std::nullopt, image).corrections.empty());
}

TEST(ImportJson, CountsTheLimitInCharacters) {
    EepromImage image;
    std::string name;
    for (int i = 0; i < 100; ++i)
        name += "ž";
    const ImportOutcome outcome =
        ImportJson({{"tabJmenoStanice", name}, {"tabPIN", "12345678"}}, std::nullopt, image);
    EXPECT_TRUE(outcome.refusals.empty()) << outcome.refusals[0].message;
    EXPECT_EQ(outcome.length, 149 + 100 + 8);
}

TEST(ImportJson, RefusesSettingsLargerThanTheGivenMemory) {
    EepromImage image;
    const ImportOutcome tooSmall = ImportJson(Json::object(), 128, image);
    const Refusal refusal{"--memory", "Velikost dat v nastavení (150 byte) je větší než je možno vložit do "
                                      "EEPROM (   128 byte)."};
    EXPECT_EQ(tooSmall.refusals, std::vector<Refusal>{refusal});
    EXPECT_EQ(ImportJson(Json::object(), 256, image).length, 149);
}

} // namespace
} // namespace orb
