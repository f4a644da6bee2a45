#include "cli/JsonText.h"

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
    // The same key in different objects is no repetition.
    EXPECT_EQ(ParseSettingsJson(R"({"a": {"k": 1}, "b": {"k": 2}})").size(), 2u);
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
