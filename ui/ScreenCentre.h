#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orb {

/// Moves a window so that it stands in the middle of its screen.
inline void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace orb
