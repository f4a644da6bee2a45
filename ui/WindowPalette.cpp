#include "ui/WindowPalette.h"

#include <QApplication>

namespace orb {
namespace {

/// The kinds of control for which Qt takes a palette from the desktop's theme.
constexpr const char* ThemedControls[] = {
    "QToolButton",      "QAbstractButton", "QCheckBox", "QRadioButton", "QHeaderView", "QAbstractItemView",
    "QMessageBoxLabel", "QTabBar",         "QLabel",    "QGroupBox",    "QMenu",       "QMenuBar",
    "QTextEdit",        "QTextControl",    "QLineEdit", "QComboBox",
};

} // namespace

QPalette windowPalette() {
    // The light palette of Qt's Fusion style, written out: Fusion's own follows the desktop's theme.
    const QColor ground(239, 239, 239);
    const QColor dark = ground.darker(150);
    const QColor shadow = dark.darker(135);
    const QColor disabledText(190, 190, 190);
    const QColor highlight(48, 140, 198);
    QColor placeholder(Qt::black);
    placeholder.setAlpha(128);
    QPalette palette(Qt::black, ground, ground.lighter(150), dark, ground.darker(130), Qt::black, Qt::white);
    palette.setBrush(QPalette::Midlight, ground.darker(130).lighter(110));
    palette.setBrush(QPalette::Shadow, shadow);
    palette.setBrush(QPalette::HighlightedText, Qt::white);
    palette.setBrush(QPalette::PlaceholderText, placeholder);
    palette.setBrush(QPalette::ToolTipBase, QColor(255, 255, 220));
    palette.setBrush(QPalette::ToolTipText, Qt::black);
    palette.setBrush(QPalette::Link, QColor(0, 0, 255));
    palette.setBrush(QPalette::LinkVisited, QColor(255, 0, 255));
    palette.setBrush(QPalette::AlternateBase, ground.lighter(105));
    palette.setBrush(QPalette::Highlight, highlight);
    palette.setBrush(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setBrush(QPalette::Disabled, role, disabledText);
    palette.setBrush(QPalette::Disabled, QPalette::Base, ground);
    palette.setBrush(QPalette::Disabled, QPalette::Dark, QColor(209, 200, 191).darker(110));
    palette.setBrush(QPalette::Disabled, QPalette::Shadow, shadow.lighter(150));
    // Each colour set on its own: a colour a palette leaves unset, Qt takes from the desktop's theme.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            palette.setBrush(group, static_cast<QPalette::ColorRole>(role),
                             palette.brush(group, static_cast<QPalette::ColorRole>(role)));
    return palette;
}

void useWindowPalette() {
    const QPalette palette = windowPalette();
    QApplication::setPalette(palette);
    for (const char* kind : ThemedControls)
        QApplication::setPalette(palette, kind);
}

} // namespace orb
