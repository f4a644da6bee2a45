#pragma once

#include "settings/SettingsRecord.h"

#include <initializer_list>
#include <random>
#include <string>

namespace orb::test {

/// The dice of the random settings generators: reproducible from a seed, and the settings that every
/// generator draws alike.
class SettingsDraw {
  public:
    explicit SettingsDraw(unsigned seed) : random_(seed) {}

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool coin() { return number(0, 1) == 1; }
    std::string maybe(const std::string& text) { return coin() ? text : ""; }
    std::string pick(std::initializer_list<const char*> texts) {
        return *(texts.begin() + number(0, int(texts.size()) - 1));
    }
    /// Draws a string of decimal digits whose length lies between the two.
    std::string digits(int minimum, int maximum) {
        std::string text(number(minimum, maximum), '0');
        for (char& digit : text)
            digit = static_cast<char>('0' + number(0, 9));
        return text;
    }

    /// Draws the times, counts, pulse lengths and choices, each anywhere in the range its rule accepts.
    void timesAndChoices(SettingsRecord& r) {
        for (std::string& length : r.tabOUTimpulsLEN)
            length = std::to_string(number(0, 255));
        r.tabDobaPlatnostiSMS = std::to_string(number(1, 30));
        r.eeExistTime = std::to_string(number(5, 65535));
        r.tabRFRWait = std::to_string(3 * number(1, 256));
        r.tabWaitFree = std::to_string(number(5, 90));
        r.tabKOMUNIKPocetTestu = std::to_string(number(1, 10));
        r.tabKOMUNIKPocetBloku = std::to_string(number(1, 100));
        r.tabKOMUNIKFormat = number(0, 1);
        r.tabKOMUNIKParita = number(0, 1);
        r.tabKOMUNIKFrekvence = number(0, 1);
    }

  private:
    std::mt19937 random_;
};

} // namespace orb::test
