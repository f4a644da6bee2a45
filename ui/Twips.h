#pragma once

#include <QRect>
#include <QWidget>

namespace orb {

/// Converts twips (1/1440 inch) to logical pixels at 96 dpi: 15 twips make one pixel.
constexpr int twips(int value) {
    return (value + 7) / 15;
}

/// Places a widget at a position and size given in twips, relative to its parent.
inline void placeTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

} // namespace orb
