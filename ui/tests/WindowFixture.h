#pragma once

#include "image/EepromImage.h"
#include "settings/SettingsForm.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedView.h"
#include "ui/AppSetup.h"
#include "ui/Hlavni.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <string>

/// Lets test failures show control names and texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace orb::test {

inline Message errorBox(const std::string& text) {
    return {"ORB - chyba", text, MessageIcon::Critical, MessageButtons::Ok};
}

inline Message warningBox(const std::string& text) {
    return {"ORB - upozornění", text, MessageIcon::Exclamation, MessageButtons::Ok};
}

/// The question asked before changed settings are replaced or left, under the title of the operation.
inline Message unsavedQuestion(const std::string& title) {
    return {title, "Nastavení bylo změněno a není uloženo. Uložit je do souboru?", MessageIcon::Question,
            MessageButtons::YesNoCancel};
}

/// The bytes of a file, none when it cannot be read.
inline QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Runs the rules that wait for the focus to settle.
inline void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

/// Lets the click that an access key sets off come: the key presses its button down, and the button
/// clicks itself a moment later (however busy the machine), running what the click starts to its end.
inline void awaitAccessKeyClick() {
    const auto anyButtonDown = [] {
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->isDown())
                return true;
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return !anyButtonDown(); }, 10'000)) << "a button stayed pressed";
    settle();
}

/// Types a text key by key. QTest knows the keys of ASCII alone; any other character comes as a key that
/// carries only its text, as a keyboard layout or an input method delivers it.
inline void typeKeys(QWidget* widget, const QString& text) {
    for (const QChar character : text)
        if (character.unicode() < 0x80)
            QTest::keyClick(widget, character.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

/// Moves the focus to a control and lets every rule that this sets off run to its end.
inline void focus(QWidget* widget) {
    widget->setFocus(Qt::MouseFocusReason);
    settle();
}

/// What a file manager offers when a file is dragged from it: its address as a link and as text.
inline std::unique_ptr<QMimeData> draggedFile(const std::string& path) {
    auto data = std::make_unique<QMimeData>();
    const QUrl url = QUrl::fromLocalFile(QFile::decodeName(path.c_str()));
    data->setUrls({url});
    data->setText(url.toString());
    return data;
}

/// The real main window, shown and active on the offscreen display, with its boxes answered by a script.
class WindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { setUpApplication(*qApp); }

    void SetUp() override {
        // Each test starts without recent files or a folder last used.
        QSettings(QSettings::IniFormat, QSettings::UserScope, "orb", "orb").clear();
        window.setPrompter(&boxes);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void TearDown() override { window.setPrompter(nullptr); }

    /// The control of that object name (rowControlName for a row control); fails the test when missing.
    template <class Widget = QWidget> Widget* control(const QString& name) {
        auto* found = window.findChild<Widget*>(name);
        EXPECT_TRUE(found) << "no control " << name.toStdString();
        return found;
    }

    /// Gives a field the focus as the user would by clicking it, and types into it.
    void typeInto(const QString& name, const QString& text) {
        auto* edit = control<QLineEdit>(name);
        focus(edit);
        edit->selectAll();
        typeKeys(edit, text);
    }

    /// Drags data that another program offers (a file manager's file) over a control and drops it there,
    /// as the window system delivers a drop; tells whether the window took it.
    bool dropOn(const QString& name, const QMimeData& data) {
        QWidget* target = control(name);
        const QPoint at = target->mapTo(&window, target->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.windowHandle(), &enter);
        if (!enter.isAccepted()) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(window.windowHandle(), &leave);
            return false;
        }
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.windowHandle(), &drop);
        return drop.isAccepted();
    }

    std::unique_ptr<EepromImage> image = std::make_unique<EepromImage>();
    ScriptedView boxes;
    Hlavni window{*image};
    SettingsForm& form = window.form();
};

/// Runs act on the modal dialog that the next call opens, once it shows; the dialog is closed as Esc
/// would close it if act leaves it open, so a failing test never hangs.
inline void whenModalShows(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog showed";
            return;
        }
        act(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

} // namespace orb::test
