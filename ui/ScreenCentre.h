#pragma once

#include <algorithm>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orb {

/// Moves a window so that it stands in the middle of its screen's available area, and wholly within it.
/// A window larger than that area keeps its top-left corner in it, so that its title bar and its first
/// controls stay reachable (a small screen at a high scale factor).
inline void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
    window->move(frame.topLeft());
}

} // namespace orb
