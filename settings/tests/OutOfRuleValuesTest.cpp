#include "settings/OutOfRuleValues.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

TEST(OutOfRuleValues, NamesEveryNumberOutsideItsFieldsRange) {
    EXPECT_TRUE(OutOfRuleValues(SettingsRecord{}).empty());

    SettingsRecord record;
    record.tabDobaPlatnostiSMS = "-166";
    record.tabKOMUNIKPocetTestu = "0";
    record.eeExistTime = "0";
    record.tabRFRWait = "100"; // not a multiple of three
    record.tabOUTimpulsLEN[6] = "256";
    record.tabWaitFree = "90"; // the largest value is in
    std::vector<std::string> lines;
    for (const OutOfRuleValue& value : OutOfRuleValues(record))
        lines.push_back(OutOfRuleText(value));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "tabDobaPlatnostiSMS: hodnota \"-166\" je mimo rozsah pole (1 až 30).",
                         "tabOUTimpulsLEN[6]: hodnota \"256\" je mimo rozsah pole (0 až 255).",
                         "eeExistTime: hodnota \"0\" je mimo rozsah pole (5 až 65535).",
                         "tabRFRWait: hodnota \"100\" je mimo rozsah pole (3 až 768, po 3).",
                         "tabKOMUNIKPocetTestu: hodnota \"0\" je mimo rozsah pole (1 až 10).",
                     }));
}

} // namespace
} // namespace orb
