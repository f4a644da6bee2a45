#pragma once

#include "settings/Fields.h"
#include "settings/SettingsRecord.h"

#include <initializer_list>
#include <random>
#include <string>

namespace orb::testing_support {

/// Random settings that every rule of the window accepts, with numbers already in international form.
class ValidSettings {
  public:
    explicit ValidSettings(unsigned seed) : random_(seed) {}

    SettingsRecord next() {
        SettingsRecord r;
        // The longest name counts characters, not the bytes of their UTF-8 form.
        r.tabJmenoStanice = pick({"", "CHATA", "Chata Světlo", "Sklep \"U Žáby\" ~ 1", LongestName});
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
    static constexpr const char* LongestName = "Žluťoučký kůň úpěl ďábelské ódy u chaty Světlo na Šumavě, "
                                               "za potokem, vedle staré hájovny č. 12345 a";
    static_assert(std::char_traits<char>::length(LongestName) > 100);

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

} // namespace orb::testing_support
