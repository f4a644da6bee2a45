// The window reads the same on every desktop theme: its captions and fields keep a contrast of 4.5:1 or
// more against what they stand on, measured from the palette the window is drawn with.
#include "ui/tests/WindowFixture.h"
#include "ui/WindowPalette.h"

#include <algorithm>
#include <cmath>
#include <QLabel>

namespace orb {
namespace {

using test::settle;

/// The relative luminance of a colour on an sRGB screen.
double luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

/// A desktop theme's palette: Adwaita's dark one, as a GTK desktop hands it to Qt.
QPalette darkDesktop() {
    QPalette palette(QColor(0xee, 0xee, 0xec), QColor(0x35, 0x35, 0x35), QColor(0x45, 0x45, 0x45),
                     QColor(0x20, 0x20, 0x20), QColor(0x2a, 0x2a, 0x2a), QColor(0xee, 0xee, 0xec),
                     QColor(0x2d, 0x2d, 0x2d));
    palette.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    return palette;
}

class PaletteTest : public test::WindowTest {
  protected:
    void TearDown() override {
        setUpApplication(*qApp);
        WindowTest::TearDown();
    }

    /// The contrast of a caption's text against the frame or window it stands on.
    double captionContrast(const char* name) {
        auto* label = control<QLabel>(name);
        const QWidget* ground = label->parentWidget();
        return contrast(label->palette().color(QPalette::WindowText),
                        ground->palette().color(ground->backgroundRole()));
    }
};

TEST_F(PaletteTest, TheDesktopsThemeLendsTheWindowsNoColour) {
    // Qt fills what an application's palette leaves unset from the theme's palette.
    EXPECT_TRUE(windowPalette().resolve(darkDesktop()) == windowPalette());
}

TEST_F(PaletteTest, CaptionsAndFieldsReadWhateverTheDesktopsTheme) {
    for (const QPalette& desktop : {darkDesktop(), QPalette(QColor(0xef, 0xef, 0xef))}) {
        // The desktop's theme arrives before the program sets itself up, with palettes of its own for
        // kinds of control, as a GTK desktop's does.
        QApplication::setPalette(desktop);
        for (const char* kind : {"QLabel", "QLineEdit", "QGroupBox", "QAbstractButton"})
            QApplication::setPalette(desktop, kind);
        setUpApplication(*qApp);
        settle();
        for (const char* name : {"lblInfoProdukt", "lblInfoPamSize", "lblInfoPamUsage", "lblInfoPamFree"})
            EXPECT_GE(captionContrast(name), 4.5) << name;
        EXPECT_EQ(control<QLabel>("tabDeAktivNapis")->text(), "Neaktivní");
        EXPECT_GE(captionContrast("tabDeAktivNapis"), 4.5);
        EXPECT_GE(captionContrast("txtNotAuthorized"), 4.5);
        const QPalette field = control("tabPIN")->palette();
        EXPECT_GE(contrast(field.color(QPalette::Text), field.color(QPalette::Base)), 4.5);
    }
}

} // namespace
} // namespace orb
