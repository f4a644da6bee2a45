#include "settings/SettingsForm.h"
#include "settings/Tables.h"
#include "tests/support/ScriptedView.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

using test::ScriptedView;

FormDisplay withMemory(const FormDisplay& display, std::string_view size) {
    FormDisplay changed = display;
    changed.lblInfoPamSize = std::string(size);
    return changed;
}

TEST(ImageSize, FreeRoomFollowsTheIdentifiedMemory) {
    const struct {
        std::string_view memory;
        std::string free;
        LabelColour colour;
    } cases[] = {
        {"?", "?", LabelColour::Blue},
        {EepromSizeTable[4], "1898 byte", LabelColour::Blue},
        {EepromSizeTable[0], "-22 byte", LabelColour::Red},
        {"   150 byte", "0 byte", LabelColour::Blue},
    };
    for (const auto& c : cases) {
        ScriptedView view;
        SettingsForm form(view);
        form.setDisplay(withMemory(form.display(), c.memory));
        form.updateImageSize();
        EXPECT_EQ(form.display().lblInfoPamUsage, "150 byte");
        EXPECT_EQ(form.display().lblInfoPamFree, c.free) << c.memory;
        EXPECT_EQ(form.display().lblInfoPamFreeColour, c.colour) << c.memory;
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

TEST(ImageSize, ReadsTheNumberOutOfACaption) {
    EXPECT_EQ(numberInCaption("  2048 byte"), 2048);
    EXPECT_EQ(numberInCaption(" 65536 byte"), 65536);
    EXPECT_EQ(numberInCaption("-52 byte"), -52);
    EXPECT_EQ(numberInCaption("150 byte"), 150);
    EXPECT_EQ(numberInCaption("?"), std::nullopt);
    EXPECT_EQ(numberInCaption(" byte"), std::nullopt);
}

TEST(ImageSize, MemorySizeIsUnknownUntilIdentified) {
    ScriptedView view;
    SettingsForm form(view);
    EXPECT_EQ(form.memorySize(), std::nullopt);
    form.setDisplay(withMemory(form.display(), EepromSizeTable[9]));
    EXPECT_EQ(form.memorySize(), 65536);
}

} // namespace
} // namespace orb
