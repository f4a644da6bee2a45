#pragma once

#include "image/EepromImage.h"
#include "link/DeviceLink.h"
#include "link/tests/FakeUnit.h"
#include "link/tests/TestProgress.h"
#include "settings/SettingsForm.h"
#include "settings/tests/ScriptedView.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace orb::test {

inline Message Box(const std::string& title, const std::string& text, MessageIcon icon,
                   MessageButtons buttons = MessageButtons::Ok) {
    return {title, text, icon, buttons};
}

inline const Message PressButtonBox =
    Box("ORB - Aktivování spojení",
        "Na zařízení stiskněte tlačítko 'A1 VYP' a vyčkejte, než zelená LED 'STATUS' přestane blikat a bude "
        "svítit trvale. Poté potvrďte 'OK'.",
        MessageIcon::Information);

/// The main window's model, the image, the progress window and a fake unit on a fake line, joined by
/// the device link as the window joins them.
class LinkTest : public ::testing::Test {
  protected:
    /// Activates the ORB the fake unit plays and forgets what the activation showed and sent.
    void activate() {
        view.expectBox(PressButtonBox);
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
