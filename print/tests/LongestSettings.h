#pragma once

#include "settings/SettingsRecord.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace orb::test {

/// Returns `tag` (ASCII) followed by the characters of `filler` over and over, `length` characters in all.
inline std::string textOfLength(const std::string& tag, const std::string& filler, int length) {
    std::vector<std::string> characters;
    for (char byte : filler)
        if ((static_cast<unsigned char>(byte) & 0xC0) == 0x80)
            characters.back() += byte;
        else
            characters.emplace_back(1, byte);
    std::string text = tag;
    for (std::size_t count = tag.size(), i = 0; count < static_cast<std::size_t>(length); ++count, ++i)
        text += characters[i % characters.size()];
    return text;
}

/// Returns settings whose every text has the most characters its field takes, made of wide and Czech
/// letters, each text beginning with its own tag; the telephone numbers are long runs of digits. Every
/// flag is set. Some texts have spaces, others are one unbroken word.
inline SettingsRecord LongestSettings() {
    const std::string words = "ŽWMŠ ČŮmw ďé ";
    const std::string word = "WŽMŠČŮmwďé";
    const std::string digits = "9876543210";
    SettingsRecord record;
    record.tabJmenoStanice = textOfLength("Jmeno", word, 100);
    record.tabPIN = textOfLength("", digits, 8);
    record.tabTCcentra = textOfLength("+", digits, 200); // its field sets no limit
    record.tabDobaPlatnostiSMS = "30";
    record.tabOdpovidatT0 = record.tabPrepnoutNepovolPristup = true;
    record.rtNotAuthorized = textOfLength("Odepreno", words, 100);
    for (int row = 0; row < RowCount; ++row) {
        const std::string n = std::to_string(row);
        const std::string& filler = row % 2 == 0 ? word : words;
        record.tabTC[row] = textOfLength("+" + n, digits, 50);
        record.tabTCPrijem[row] = record.tabTCUdalost[row] = true;
        record.tabINPNazev[row] = textOfLength("I" + n + "Nazev", filler, 100);
        record.tabINPZap[row] = textOfLength("I" + n + "Zap", filler, 100);
        record.tabINPVyp[row] = textOfLength("I" + n + "Vyp", filler, 100);
        record.tabINPLH[row] = textOfLength("I" + n + "LH", filler, 100);
        record.tabINPHL[row] = textOfLength("I" + n + "HL", filler, 100);
        record.tabINPNeg[row] = record.tabINPLHEvent[row] = record.tabINPHLEvent[row] = true;
        record.tabINPZpr[row] = true;
        record.tabOUTNazev[row] = textOfLength("O" + n + "Nazev", filler, 100);
        record.tabOUTZap[row] = textOfLength("O" + n + "Zap", filler, 100);
        record.tabOUTVyp[row] = textOfLength("O" + n + "Vyp", filler, 100);
        record.tabOUTimpuls[row] = textOfLength("O" + n + "Impuls", filler, 100);
        record.tabOUTimpulsLEN[row] = "255";
        record.tabOUTNeg[row] = record.tabOUTZpr[row] = true;
    }
    return record;
}

/// Compares a long printed text with what it should be and names the place where they part.
inline ::testing::AssertionResult SameText(const std::string& printed, const std::string& expected) {
    if (printed == expected) return ::testing::AssertionSuccess();
    const auto parting = std::mismatch(printed.begin(), printed.end(), expected.begin(), expected.end());
    const auto at = static_cast<std::size_t>(parting.first - printed.begin());
    return ::testing::AssertionFailure()
           << "the texts part at byte " << at << " of " << expected.size() << ": printed \""
           << printed.substr(at, 40) << "\", expected \"" << expected.substr(at, 40) << "\"";
}

} // namespace orb::test
