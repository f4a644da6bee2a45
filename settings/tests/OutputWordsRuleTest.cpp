#include "settings/OutputWordsRule.h"

#include "settings/SettingsForm.h"
#include "tests/support/ScriptedView.h"

#include <gtest/gtest.h>

namespace orb {

static void PrintTo(const OutputWordsViolation& v, std::ostream* out) {
    *out << "{" << fieldName(v.field.field) << " " << v.field.row << ", \"" << v.message << "\"}";
}

namespace {

const std::string Tail = "' není správně zadán. Jména výstupů se nesmějí shodovat a ani být předponou jiného "
                         "názvu výstupu. EEPROM nelze naprogramovat dokud toto nebude odstraněno.";

struct Word {
    TextField field;
    int row;
    std::string text;
};

SettingsRecord outputs(std::initializer_list<Word> words) {
    SettingsRecord record;
    SettingsOptions options;
    for (const Word& word : words)
        textOf(record, options, {word.field, word.row}) = word.text;
    return record;
}

TEST(OutputWordsRule, FindsTheFirstAmbiguousWord) {
    using F = TextField;
    const struct {
        const char* what;
        SettingsRecord record;
        std::optional<OutputWordsViolation> expected;
    } cases[] = {
        {"name a leading part of another name",
         outputs({{F::tabOUTNazev, 1, "SVETLO"}, {F::tabOUTNazev, 4, "SVETLO2"}}),
         OutputWordsViolation{{F::tabOUTNazev, 1}, "Název výstupu 'O1" + Tail}},
        {"name equal to its own on-word", outputs({{F::tabOUTNazev, 2, "ON"}, {F::tabOUTZap, 2, "on"}}),
         OutputWordsViolation{{F::tabOUTNazev, 2}, "Název výstupu 'O2" + Tail}},
        {"names differing only in Czech case",
         outputs({{F::tabOUTNazev, 0, "SVĚTLO"}, {F::tabOUTNazev, 6, "světlo"}}),
         OutputWordsViolation{{F::tabOUTNazev, 0}, "Název výstupu 'O0" + Tail}},
        {"on-word a leading part of a name",
         outputs({{F::tabOUTNazev, 0, "SVETLO"}, {F::tabOUTZap, 3, "SVE"}}),
         OutputWordsViolation{{F::tabOUTZap, 3}, "Název 'Zapnuto' výstupu 'O3" + Tail}},
        {"off-word a leading part of a name",
         outputs({{F::tabOUTNazev, 0, "SVETLO"}, {F::tabOUTVyp, 5, "sv"}}),
         OutputWordsViolation{{F::tabOUTVyp, 5}, "Název 'Vypnuto' výstupu 'O5" + Tail}},
        {"shared on-words and off-words",
         outputs({{F::tabOUTNazev, 0, "A"},
                  {F::tabOUTNazev, 1, "B"},
                  {F::tabOUTZap, 0, "ON"},
                  {F::tabOUTZap, 1, "ON"},
                  {F::tabOUTVyp, 0, "OFF"},
                  {F::tabOUTVyp, 1, "OFF"}}),
         std::nullopt},
        {"nothing filled in", SettingsRecord{}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindOutputWordsViolation(c.record), c.expected) << c.what;
}

TEST(OutputWordsRule, RefusalBringsTheOutputsTabThenTheBoxThenTheFocus) {
    test::ScriptedView view;
    SettingsForm form(view);
    EXPECT_TRUE(form.outputWordsRule());
    form.setText({TextField::tabOUTNazev, 1}, "SVETLO");
    form.setText({TextField::tabOUTNazev, 4}, "SVETLO2");
    view.expectBox({"ORB - Ukládání dat z PC do EEPROM", "Název výstupu 'O1" + Tail, MessageIcon::Critical,
                    MessageButtons::Ok});
    EXPECT_FALSE(form.outputWordsRule());
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"tab 3", "box Název výstupu 'O1" + Tail, "focus tabOUTNazev 1"}));
}

} // namespace
} // namespace orb
