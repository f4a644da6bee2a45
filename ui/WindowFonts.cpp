#include "ui/WindowFonts.h"

namespace orb {
namespace {

// Sizes in pixels rather than points: the layout is in pixels at 96 dpi, so the text grows with it
// whatever dpi the screen reports, and a scale factor enlarges both alike.
QFont liberationSans(int pixels) {
    QFont font("Liberation Sans");
    font.setPixelSize(pixels);
    return font;
}

} // namespace

QFont windowFont() {
    return liberationSans(10);
}

QFont stateCaptionFont() {
    return liberationSans(11);
}

} // namespace orb
