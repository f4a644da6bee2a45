#include "cli/json/JsonText.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

std::string refusal(const std::string& text) {
    try {
        ParseSettingsJson(text);
    } catch (const JsonTextError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(SettingsJsonText, SyntaxErrorsSayWhereAsAnEditorCounts) {
    const std::string invalid = "soubor není platný JSON: ";
    const std::pair<std::string, std::string> cases[] = {
        {"{\"tabPIN\": \"1\",}", "chyba na řádku 1, ve sloupci 16."},
        {"{\n  \"tabJmenoStanice\": \"Chata Žluťák\",\n  \"tabPIN\": 12a\n}",
         "chyba na řádku 3, ve sloupci 15."},
        {"{\"tabPIN\": \"1\"", "chyba na řádku 1, ve sloupci 15."},
        {"", "chyba na řádku 1, ve sloupci 1."},
        {"{\"tabJmenoStanice\": \"\xC5\"}", "chyba na řádku 1, ve sloupci 23."},
        {"{\"tabRFRWait\": 1e999}", "obsahuje číslo mimo rozsah."},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(refusal(text), invalid + message) << text;
}

TEST(SettingsJsonText, AKeyTwiceInOneObjectIsRefused) {
    EXPECT_EQ(refusal(R"({"tabPIN": "1", "tabJmenoStanice": "", "tabPIN": "2"})"),
              "klíč 'tabPIN' je v souboru dvakrát.");
}

TEST(SettingsJsonText, WhatNoExportCanBeIsRefusedBeforeItIsStored) {
    const std::string deeper =
        "soubor má hodnoty vnořené hlouběji, než je zapisuje export (objekt nastavení, v něm pole hodnot "
        "řádků).";
    const std::pair<std::string, std::string> cases[] = {
        {R"({"tabTC": [[1]]})", deeper},
        {R"({"tabTC": {"k": 1}})", deeper},
        {R"({"tabTC": [{"k": 1}]})", deeper},
        {std::string(15'000'000, '['), "JSON musí být objekt, jehož klíče jsou jména nastavení."},
        {R"({"tabTC": [1, 2, 3, 4, 5, 6, 7, 8, 9]})", "klíč 'tabTC' má víc než 8 hodnot."},
        {R"({"tabPIN": "123456789"})", "tabPIN: Text smí mít nejvýše 8 znaků."},
        {R"({"tabTC": ["", "", ")" + std::string(51, '1') + "\"]}",
         "tabTC[2]: Text smí mít nejvýše 50 znaků."},
        {R"({"a": 1, "b": {"k": 1}})", deeper},
        {"{\"poznamka\": \"" + std::string(65537, 'x') + "\"}",
         "poznamka: Text smí mít nejvýše 65536 znaků."},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(refusal(text), message) << text.substr(0, 60);

    std::string manyKeys = "{";
    for (int key = 0; key < 80'000; ++key)
        manyKeys += (key ? ",\"k" : "\"k") + std::to_string(key) + "\": 1";
    EXPECT_EQ(refusal(manyKeys + "}"), "soubor má víc klíčů, než je nastavení (" +
                                           std::to_string(SettingsJsonBounds().maxKeys) + ").");
    // Unknown keys and values of the wrong kind within the bounds are import's to refuse, by name.
    EXPECT_EQ(ParseSettingsJson(R"({"k": [null, true, 1.5, "x"], "tabPIN": 12345678901})").size(), 2u);
}

TEST(SettingsJsonText, EchoedKeysAreShortAndPlain) {
    EXPECT_EQ(EchoedKey("tabPIN"), "tabPIN");
    EXPECT_EQ(EchoedKey("\x1b[2Jklíč\x7f"), "\\u001B[2Jklíč\\u007F");
    const std::string czech40 = std::string(36, 'x') + "žluť";
    EXPECT_EQ(EchoedKey(czech40), czech40);
    EXPECT_EQ(EchoedKey(czech40 + "ou"), czech40 + "…");
    EXPECT_EQ(EchoedKey(std::string(10'000'000, 'k')), std::string(40, 'k') + "…");
}

} // namespace
} // namespace orb
