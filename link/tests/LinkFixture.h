#pragma once

#include "image/EepromImage.h"
#include "link/DeviceLink.h"
#include "settings/SettingsForm.h"
#include "tests/support/FakeUnit.h"
#include "tests/support/LinkBoxes.h"
#include "tests/support/ScriptedView.h"
#include "tests/support/TestProgress.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace orb::test {

/// Spoils the settings the unit holds where only the decoder looks: the telephone group now starts where a
/// length field is not hexadecimal, and the signature still holds.
inline void SpoilSettings(FakeUnit& unit) {
    unit.eeprom[20] = 0x00;
    unit.eeprom[21] = 0x04;
    EepromImage header;
    for (int i = 0; i < 26; ++i)
        header.putByte(i, unit.eeprom[i]);
    unit.eeprom[26] = HeaderChecksum(header);
    for (std::size_t i = 0x400; i < unit.eeprom.size(); ++i)
        unit.eeprom[i] = 'x';
}

/// The main window's model, the image, the progress window and a fake unit on a fake line, joined by
/// the device link as the window joins them.
class LinkTest : public ::testing::Test {
  protected:
    /// Activates the ORB the fake unit plays and forgets what the activation showed and sent.
    void activate() {
        view.expectBox(PressButton);
        link.onDeaClicked();
        ASSERT_EQ(form.display().tabDeAktivNapis, "Aktivní");
        unit.requests.clear();
        progress.events.clear();
        view.boxes.clear();
        view.events.clear();
    }

    ScriptedView view;
    SettingsForm form{view};
    std::unique_ptr<EepromImage> imageBuffer = std::make_unique<EepromImage>();
    EepromImage& image = *imageBuffer;
    TestProgress progress;
    FakeLine line;
    FakeUnit unit{line};
    DeviceLink link{form, image, progress, progress.stop, line, line};
};

} // namespace orb::test
