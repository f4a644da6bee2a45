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
    DeviceLink link{form, image, progress, line, line};
};

} // namespace orb::test
