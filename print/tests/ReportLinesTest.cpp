#include "print/ReportLines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orb {
namespace {

const std::string Rule(165, '=');

TEST(ReportLines, StartUpSettingsPrintEveryLineInOrder) {
    std::vector<std::string> expected = {
        " ",
        "",
        "VŠEOBECNÉ",
        Rule,
        "Jméno stanice: ",
        "PIN: ",
        "Tel.č. SMS centra: ",
        "Doba platnosti SMS zprávy: 3",
        "Používat bezpečný režim: 1",
        "V nebezpečném režimu odpovídat i na T0: 0",
        "Hlášení o nepovoleném přístupu posílat i na telefonní číslo T0: 0",
        "Posílat hlášení, že není povolen přístup: 1",
        "Text hlášení o nepovolení přístupu: ",
        "",
        "TELEFONNÍ ČÍSLA - (Tel.číslo, Příjem, Odesílat události)",
        Rule,
    };
    for (int i = 0; i < 8; ++i)
        expected.push_back("T" + std::to_string(i) + "; ; 0; 0; ");
    expected.insert(expected.end(), {"",
                                     "VSTUPY: (Vstup, Název, Zapnuto, Vypnuto, Přechod N->A, Přechod A->N, "
                                     "Negace, N->A, A->N, Uvádět ve zprávě)",
                                     Rule});
    for (int i = 0; i < 8; ++i)
        expected.push_back("I" + std::to_string(i) + "; ; ; ; ; ; 0; 0; 0; 0; ");
    expected.insert(expected.end(), {"",
                                     "VÝSTUPY: (Výstup, Název, Zapnuto, Vypnuto, Negace, Impuls, Délka "
                                     "impulsu * 0,1 sekund, Uvádět ve zprávě)",
                                     Rule});
    for (int i = 0; i < 8; ++i)
        expected.push_back("O" + std::to_string(i) + "; ; ; ; 0; ; 1; 0; ");

    EXPECT_EQ(ReportLines(SettingsRecord{}), expected);
}

TEST(ReportLines, FilledRowsPrintTheirFieldsInColumnOrder) {
    SettingsRecord record;
    record.tabJmenoStanice = "Chata Lipno";
    record.tabTCcentra = "+420603052000";
    record.tabOdpovidatT0 = true;
    record.opNotAuthorized = false;
    record.rtNotAuthorized = "Přístup odepřen";
    record.tabTC[2] = "+420123456789";
    record.tabTCPrijem[2] = true;
    record.tabTCPoplach[2] = true; // hidden column: never printed
    record.tabINPNazev[5] = "Dveře";
    record.tabINPZap[5] = "otevřeno";
    record.tabINPVyp[5] = "zavřeno";
    record.tabINPLH[5] = "otevření";
    record.tabINPHL[5] = "zavření";
    record.tabINPNeg[5] = true;
    record.tabINPHLEvent[5] = true;
    record.tabINPZpr[5] = true;
    record.tabOUTNazev[7] = "Topení";
    record.tabOUTZap[7] = "ZAP";
    record.tabOUTVyp[7] = "VYP";
    record.tabOUTNeg[7] = true;
    record.tabOUTimpuls[7] = "PULS";
    record.tabOUTimpulsLEN[7] = "125";
    record.tabOUTZpr[7] = true;
    record.tabOUTNazev[0] = "a; b"; // a separator inside a text is printed unchanged

    const std::vector<std::string> lines = ReportLines(record);
    ASSERT_EQ(lines.size(), 46u);
    EXPECT_EQ(lines[4], "Jméno stanice: Chata Lipno");
    EXPECT_EQ(lines[6], "Tel.č. SMS centra: +420603052000");
    EXPECT_EQ(lines[9], "V nebezpečném režimu odpovídat i na T0: 1");
    EXPECT_EQ(lines[11], "Posílat hlášení, že není povolen přístup: 0");
    EXPECT_EQ(lines[12], "Text hlášení o nepovolení přístupu: Přístup odepřen");
    EXPECT_EQ(lines[16 + 2], "T2; +420123456789; 1; 0; ");
    EXPECT_EQ(lines[27 + 5], "I5; Dveře; otevřeno; zavřeno; otevření; zavření; 1; 0; 1; 1; ");
    EXPECT_EQ(lines[38 + 0], "O0; a; b; ; ; 0; ; 1; 0; ");
    EXPECT_EQ(lines[38 + 7], "O7; Topení; ZAP; VYP; 1; PULS; 125; 1; ");
}

} // namespace
} // namespace orb
