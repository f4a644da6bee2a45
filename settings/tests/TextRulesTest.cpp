#include "settings/TextRules.h"

#include <gtest/gtest.h>

namespace orb {

static void PrintTo(const FieldRuleResult& r, std::ostream* out) {
    *out << "{kind " << static_cast<int>(r.outcome.kind) << ", \"" << r.outcome.text << "\", \"" << r.message
         << "\", tab " << (r.tab ? std::to_string(*r.tab) : "none") << ", loading "
         << (r.clashReported ? std::to_string(*r.clashReported) : "unchanged") << "}";
}

namespace {

using Kind = RuleOutcome::Kind;

const std::string Keywords = "STATE;STAV;BACK;NOBACK;RESET;SHUTDOWN;NAME;ZPET;NEZPET;JMENO";
const std::string Command = "_0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string InputText =
    " `!@#$%^&*()-_=+\\|[{]};:',<.>/?0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string MessageText =
    " !#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]\\^_`abcdefghijklmnopqrstuvwxyz{}|~";

FieldRuleResult accepted() {
    return {};
}

FieldRuleResult corrected(const std::string& text) {
    return {{Kind::Corrected, text}, {}, std::nullopt, std::nullopt};
}

FieldRuleResult rejected(const std::string& message, std::optional<int> tab) {
    return {{Kind::Rejected, {}}, message, tab, std::nullopt};
}

FieldRuleResult withClash(FieldRuleResult result, bool reported) {
    result.clashReported = reported;
    return result;
}

TEST(IsAllowedName, RefusesOnlyKeywordsAndTheirLeadingParts) {
    const struct {
        std::string text;
        std::string list;
        bool allowed;
    } cases[] = {
        {"", Keywords, true},       {"sta", Keywords, false},      {"Stav", Keywords, false},
        {"N", Keywords, false},     {"JMENO", Keywords, false},    {"jm", Keywords, false},
        {"STAVBA", Keywords, true}, {"RESET1", Keywords, true},    {"X", Keywords, true},
        {"a", ";;", true},          {"SVĚTLO", "světlo2;", false}, {"světla", "SVĚTLO2;", true},
        {"ab", "xy;ab", false},     {"abc", "ab;", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAllowedName(c.text, c.list), c.allowed) << c.text << " in " << c.list;
}

TEST(HasOnlyChars, ComparesEachCharacterCaseSensitively) {
    EXPECT_TRUE(HasOnlyChars("", "0"));
    EXPECT_TRUE(HasOnlyChars("0110", "01"));
    EXPECT_FALSE(HasOnlyChars("a", "A"));
    EXPECT_FALSE(HasOnlyChars("Světlo", InputText));
}

TEST(NormalizePhoneNumber, PutsNumbersIntoInternationalForm) {
    const struct {
        std::string number;
        std::string uto;
        std::string expected;
    } cases[] = {
        {"0123456789", "+420", "+420123456789"},
        {"123456789", "+420", "+420123456789"},
        {"0049123456", "+420", "+49123456"},
        {"+49123456", "+420", "+49123456"},
        {"00420123456789", "+420", "+420123456789"},
        {"12", "+420", "+42012"},
        {"0123", "", "0123"},
        {"421905", "421", "421905"},
        {"0", "+420", "+420"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizePhoneNumber(c.number, c.uto), c.expected) << c.number << " with " << c.uto;
}

TEST(PastedPhoneNumber, LeavesTheDigitsAndWhatTheRuleMustJudge) {
    const struct {
        std::string pasted;
        std::string number;
    } cases[] = {
        {"+420 602 111 222", "+420602111222"},
        {"602111222\n", "602111222"},
        {"602111222\r\n", "602111222"},
        {"(+420) 602-111-222", "+420602111222"},
        {"602.111.222", "602111222"},
        {"[602]\t111 222", "602111222"},
        {"602\xC2\xA0"
         "111\xE2\x80\x93"
         "222",
         "602111222"},                // a no-break space and an en dash
        {"602 111 22a", "60211122a"}, // left for the rule to refuse
        {"602/111 222", "602/111222"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PastedPhoneNumber(c.pasted), c.number) << c.pasted;
    EXPECT_TRUE(HoldsPhoneNumber(TextField::tabTC));
    EXPECT_TRUE(HoldsPhoneNumber(TextField::tabTCcentra));
    EXPECT_FALSE(HoldsPhoneNumber(TextField::tabUTO));
}

TEST(CheckFieldRule, CharacterKeywordNumericAndPhoneRules) {
    const struct {
        TextField field;
        std::string text;
        FieldRuleResult expected;
    } cases[] = {
        {TextField::tabINPNazev, "Stav",
         rejected("Název vstupu nesmí být žádné z těchto klíčových slov (ani jejich předpony): " + Keywords,
                  2)},
        {TextField::tabINPNazev, "STAVBA", accepted()},
        {TextField::tabINPNazev, "", accepted()},
        {TextField::tabINPNazev, "Světlo",
         rejected("Název vstupu může obsahovat pouze tyto znaky: " + InputText, 2)},
        {TextField::tabINPNazev, "a~b",
         rejected("Název vstupu může obsahovat pouze tyto znaky: " + InputText, 2)},
        {TextField::tabOUTNazev, "Světlo",
         rejected("Název výstupu může obsahovat pouze tyto znaky: " + Command, 3)},
        {TextField::tabOUTNazev, "reset",
         rejected("Název výstupu nesmí být žádné z těchto klíčových slov (ani jejich předpony): " + Keywords,
                  3)},
        {TextField::tabOUTimpuls, "sta",
         rejected("Název 'impuls' nesmí být žádné z těchto klíčových slov (ani jejich předpony): " + Keywords,
                  3)},
        {TextField::tabOUTimpuls, "a b",
         rejected("Název 'Impuls' může obsahovat pouze tyto znaky: " + Command, 3)},
        {TextField::tabJmenoStanice, "Světlo \"~", accepted()},
        {TextField::rtNotAuthorized, "a\"b",
         rejected("Text může obsahovat pouze tyto znaky: " + MessageText, 0)},
        {TextField::rtNotAuthorized, "a~b", accepted()},
        {TextField::rtReCall, "a\"b",
         rejected("Text může obsahovat pouze tyto znaky: " + MessageText, std::nullopt)},
        {TextField::tabINPLH, "\"",
         rejected("Název přechodu 'Neaktivní->Aktivní' může obsahovat pouze tyto znaky: " + InputText, 2)},
        {TextField::tabINPHL, "~",
         rejected("Název přechodu 'Aktivní->Neaktivní' může obsahovat pouze tyto znaky: " + InputText, 2)},
        {TextField::tabINPLH, "STAV", accepted()},

        {TextField::tabDobaPlatnostiSMS, "0", corrected("1")},
        {TextField::tabDobaPlatnostiSMS, "45", corrected("30")},
        {TextField::tabDobaPlatnostiSMS, "07", accepted()},
        {TextField::tabDobaPlatnostiSMS, "3a",
         rejected("Doba platnosti SMS zprávy je špatně zadána. Povolené hodnoty jsou '1','2',..,'30'.", 0)},
        {TextField::tabDobaPlatnostiSMS, "",
         rejected("Doba platnosti SMS zprávy je špatně zadána. Povolené hodnoty jsou '1','2',..,'30'.", 0)},
        {TextField::tabRFRWait, "100", corrected("99")},
        {TextField::tabRFRWait, "2", corrected("3")},
        {TextField::tabRFRWait, "999", corrected("768")},
        {TextField::tabRFRWait, "0", corrected("3")},
        {TextField::tabRFRWait, "003", corrected("3")},
        {TextField::tabRFRWait, "9", accepted()},
        {TextField::tabRFRWait, "-3",
         rejected("Zadaná hodnota musí být celé číslo dělitelné třemi (3-768).", std::nullopt)},
        {TextField::eeExistTime, "70000", corrected("65535")},
        {TextField::eeExistTime, "0007", accepted()},
        {TextField::eeExistTime, "99999999999999999999", corrected("65535")},
        {TextField::eeExistTime, "", rejected("Zadaná hodnota musí být celé číslo (5-65535).", std::nullopt)},
        {TextField::tabWaitFree, "10", accepted()},
        {TextField::tabWaitFree, "4", corrected("5")},
        {TextField::tabWaitFree, "x", rejected("Zadaná hodnota musí být celé číslo (15-90).", std::nullopt)},
        {TextField::tabKOMUNIKPocetTestu, "11", corrected("10")},
        {TextField::tabKOMUNIKPocetBloku, "0", corrected("1")},
        {TextField::tabKOMUNIKPocetBloku, "101", corrected("100")},
        {TextField::tabPrepnoutJTSCislo, "x", rejected("Zadaná hodnota musí být číslo.", 0)},
        {TextField::tabPrepnoutJTSCislo, "7", accepted()},
        {TextField::tabOUTimpulsLEN, "abc", accepted()},
        {TextField::tabOUTimpulsLEN, "1日",
         rejected("Text obsahuje znak '日' (U+65E5), který nelze uložit do EEPROM. Lze použít pouze znaky "
                  "kódové stránky Windows-1250.",
                  3)},
        {TextField::tabJmenoStanice, "Chata 😀",
         rejected("Text obsahuje znak '😀' (U+1F600), který nelze uložit do EEPROM. Lze použít pouze znaky "
                  "kódové stránky Windows-1250.",
                  0)},
        {TextField::tabJmenoStanice, "Žluťoučký kůň €", accepted()},

        {TextField::tabPIN, "", accepted()},
        {TextField::tabPIN, "12a4", rejected("PIN je špatně zadán.", 0)},
        {TextField::tabTCcentra, "+420 603",
         rejected("Telefonní číslo servisního centra je špatně zadáno.", 0)},
        {TextField::tabUTO, "+4a", rejected("UTO je špatně zadáno.", 1)},
        {TextField::tabUTO, "", accepted()},
        {TextField::tabTC, "0123456789", corrected("+420123456789")},
        {TextField::tabTC, "00420123456789", corrected("+420123456789")},
        {TextField::tabTC, "+420123", accepted()},
        {TextField::tabTC, "1+2", corrected("+4201+2")},
        {TextField::tabTC, "", accepted()},
        {TextField::tabTC, "12-3", rejected("Telefonní číslo je špatně zadáno.", 1)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckFieldRule(c.field, c.text, {}), c.expected)
            << fieldName(c.field) << " \"" << c.text << "\"";
}

TEST(CheckFieldRule, OnOffNamesClashOnceAndKeepClearOfKeywords) {
    const struct {
        TextField field;
        std::string text;
        std::string partner;
        bool skipClashCheck;
        FieldRuleResult expected;
    } cases[] = {
        {TextField::tabINPZap, "ZAP", "zap", false,
         withClash(rejected("Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'.", 2), true)},
        {TextField::tabINPVyp, "zap", "ZAP", false,
         withClash(rejected("Název 'Vypnuto' nesmí být stejný jako název 'Zapnuto'.", 2), true)},
        {TextField::tabINPZap, "ZAP", "", false, withClash(accepted(), false)},
        {TextField::tabINPVyp, "", "", false, withClash(accepted(), false)},
        {TextField::tabINPZap, "ZAP", "zap", true, withClash(accepted(), false)},
        {TextField::tabINPZap, "STAV", "", false, withClash(accepted(), false)},
        {TextField::tabINPZap, "a\"", "", true,
         rejected("Název 'Zapnuto' může obsahovat pouze tyto znaky: " + InputText, 2)},
        {TextField::tabOUTZap, "on", "ON", false,
         withClash(rejected("Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'.", 3), true)},
        {TextField::tabOUTZap, "ZAP", "zap", true, withClash(accepted(), false)},
        {TextField::tabOUTZap, "stav", "", false,
         rejected("Název 'Zapnuto' nesmí být žádné z těchto klíčových slov (ani jejich předpony): " +
                      Keywords,
                  3)},
        {TextField::tabOUTVyp, "n", "ZAP", true,
         rejected("Název 'Vypnuto' nesmí být žádné z těchto klíčových slov (ani jejich předpony): " +
                      Keywords,
                  3)},
        {TextField::tabOUTVyp, "Vyp!", "", false,
         rejected("Název 'Vypnuto' může obsahovat pouze tyto znaky: " + Command, 3)},
    };
    for (const auto& c : cases) {
        FieldRuleContext context;
        context.partnerText = c.partner;
        context.skipClashCheck = c.skipClashCheck;
        EXPECT_EQ(CheckFieldRule(c.field, c.text, context), c.expected)
            << fieldName(c.field) << " \"" << c.text << "\" beside \"" << c.partner << "\"";
    }
}

} // namespace
} // namespace orb
