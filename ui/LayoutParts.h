#pragma once

#include "ui/Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QPalette>
#include <QRect>

namespace orb {

/// Heights of the main window's controls, in twips.
constexpr int FieldHeight = 285;
constexpr int LabelHeight = 225;
constexpr int CheckHeight = 255;
constexpr int ComboHeight = 315;

/// A rectangle in twips: left, top, width, height.
inline QRect box(int left, int top, int width, int height) {
    return QRect(left, top, width, height);
}

/// Adds a frame with a caption (empty: none) at a rectangle given in twips.
inline QGroupBox* addFrame(const char* name, const QString& caption, QWidget* parent, QRect geometry) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    placeTwips(frame, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    return frame;
}

/// Names the list a drop-down opens for a screen reader. The drop-down itself is read by its current
/// entry and the caption that is its buddy.
inline void nameChoiceList(QComboBox* combo, const QString& name) {
    combo->view()->setAccessibleName(name + " – nabídka");
}

/// Gives a label or control its own text colour.
inline void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace orb
