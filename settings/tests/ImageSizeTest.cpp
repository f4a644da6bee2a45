#include "settings/SettingsForm.h"
#include "settings/Tables.h"
#include "tests/support/ScriptedView.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

using test::ScriptedView;

UnitState withMemory(std::optional<int> bytes) {
    UnitState unit;
    unit.memoryBytes = bytes;
    return unit;
}

TEST(ImageSize, FreeRoomFollowsTheIdentifiedMemory) {
    const struct {
        std::optional<int> memory;
        std::string free;
        LabelColour colour;
    } cases[] = {
        {std::nullopt, "?", LabelColour::Blue},
        {EepromSizeTable[4], "1898 byte", LabelColour::Blue},
        {EepromSizeTable[0], "-22 byte", LabelColour::Red},
        {150, "0 byte", LabelColour::Blue},
    };
    for (const auto& c : cases) {
        ScriptedView view;
        SettingsForm form(view);
        form.setUnitState(withMemory(c.memory));
        EXPECT_EQ(form.display().lblInfoPamUsage, "150 byte");
        EXPECT_EQ(form.display().lblInfoPamFree, c.free) << c.memory.value_or(0);
        EXPECT_EQ(form.display().lblInfoPamFreeColour, c.colour) << c.memory.value_or(0);
        EXPECT_EQ(form.imageUsage(), 150);
    }
}

TEST(ImageSize, CountsCharactersAndEncodedNumbers) {
    ScriptedView view;
    SettingsForm form(view);
    form.setText({TextField::tabTC, 7}, "5"); // 0181F5 and its terminator
    EXPECT_EQ(form.imageUsage(), 156);
    form.setText({TextField::tabTC, 7}, "+420123456789");
    EXPECT_EQ(form.imageUsage(), 166);
    form.setText({TextField::tabTC, 7}, "12ě"); // not checked yet: one byte a character, 038121Fě
    EXPECT_EQ(form.imageUsage(), 158);
    form.setText({TextField::tabTC, 7}, "");
    EXPECT_EQ(form.imageUsage(), 150);
    form.setText({TextField::tabINPHL, 0}, "Světlo"); // six characters, whatever their UTF-8 length
    form.setText({TextField::rtNotAuthorized}, "Ne");
    EXPECT_EQ(form.imageUsage(), 158);
}

TEST(ImageSize, ShowsTheMemorySizeRightAlignedInElevenCharacters) {
    ScriptedView view;
    SettingsForm form(view);
    for (const auto& [bytes, caption] : {std::pair{128, "   128 byte"}, std::pair{65536, " 65536 byte"}}) {
        form.setUnitState(withMemory(bytes));
        EXPECT_EQ(form.display().lblInfoPamSize, caption);
    }
}

TEST(ImageSize, MemorySizeIsUnknownUntilIdentified) {
    ScriptedView view;
    SettingsForm form(view);
    EXPECT_EQ(form.memorySize(), std::nullopt);
    form.setUnitState(withMemory(EepromSizeTable[9]));
    EXPECT_EQ(form.memorySize(), 65536);
}

} // namespace
} // namespace orb
