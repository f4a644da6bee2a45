#include "cli/json/SettingsDiff.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

TEST(SettingsDiff, SameSettingsGiveNoLines) {
    const Json json = SettingsToJson(SettingsRecord{}, ReservedBytes{});
    EXPECT_TRUE(DiffSettings(json, json).empty());
}

TEST(SettingsDiff, ListsExactlyTheChangedSettingsWithBothValues) {
    SettingsRecord a;
    SettingsRecord b;
    b.tabJmenoStanice = "Chata Světlo";
    b.tabINPNazev[2] = "DVERE";
    b.tabTCPrijem[0] = true;
    b.tabKOMUNIKFormat = 1;
    ReservedBytes reservedB;
    reservedB.at27to31[4] = 7;

    EXPECT_EQ(DiffSettings(SettingsToJson(a, {}), SettingsToJson(b, reservedB)),
              (std::vector<std::string>{
                  "tabJmenoStanice: \"\" -> \"Chata Světlo\"",
                  "tabINPNazev[2]: \"\" -> \"DVERE\"",
                  "tabTCPrijem[0]: false -> true",
                  "tabKOMUNIKFormat: \"SIA\" -> \"Pulzní\"",
                  "reserved27to31[4]: 0 -> 7",
              }));
}

} // namespace
} // namespace orb
