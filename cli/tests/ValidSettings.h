#pragma once

#include "settings/Fields.h"
#include "tests/support/SettingsDraw.h"

#include <string>

namespace orb::testing_support {

/// Random settings that every rule of the window accepts, with numbers already in international form.
class ValidSettings : public test::SettingsDraw {
  public:
    using SettingsDraw::SettingsDraw;

    SettingsRecord next() {
        SettingsRecord r;
        // The longest name counts characters, not the bytes of their UTF-8 form.
        r.tabJmenoStanice = pick({"", "CHATA", "Chata Světlo", "Sklep \"U Žáby\" ~ 1", LongestName});
        r.tabPIN = digits(0, 8);
        r.tabTCcentra = pick({"", "+420603052000", "602909909"});
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
            r.tabINPNeg[row] = coin();
            r.tabINPLHEvent[row] = coin();
            r.tabINPHLEvent[row] = coin();
            r.tabINPZpr[row] = coin();
            r.tabOUTNeg[row] = coin();
            r.tabOUTZpr[row] = coin();
        }
        r.opExist = coin();
        r.rtReCall = pick({"", "Jsem tu", "#1 ok"});
        timesAndChoices(r);
        return r;
    }

  private:
    static constexpr const char* LongestName = "Žluťoučký kůň úpěl ďábelské ódy u chaty Světlo na Šumavě, "
                                               "za potokem, vedle staré hájovny č. 12345 a";
    static_assert(std::char_traits<char>::length(LongestName) > 100);
};

} // namespace orb::testing_support
