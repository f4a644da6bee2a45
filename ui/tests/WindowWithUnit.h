#pragma once

#include "link/DeviceLink.h"
#include "tests/support/FakeUnit.h"
#include "tests/support/LinkBoxes.h"
#include "ui/tests/WindowFixture.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

namespace orb::test {

/// The main window wired as the program wires it, to a device link over a fake line with a unit at its
/// other end, and activated with btDEA; the file dialogs answer from a script, the printer only counts.
class WindowWithUnit : public WindowTest {
  public:
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    /// Presses a button without taking the focus, as a key or a screen reader presses it.
    void press(const char* name) { control<QAbstractButton>(name)->click(); }
    void closeWindow() { window.close(); }
    /// Drops a settings file from a file manager on the window, away from any field.
    void dropFile() { dropOn("tabDeAktivNapis", *draggedFile(path("jinde.eep"))); }
    /// An access key, as the keyboard gives it to the field that has the focus; the button it presses
    /// clicks itself a moment later.
    void pressAltWith(Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        awaitAccessKeyClick();
    }

  protected:
    void SetUp() override {
        WindowTest::SetUp();
        // A click on btDEA right after the caption changed is taken for the second click of a double
        // click; here every click is meant.
        doubleClickInterval_ = QApplication::doubleClickInterval();
        QApplication::setDoubleClickInterval(0);
        window.setFileDialogs(&dialogs);
        window.commands() = {
            .dea = [this] { link.onDeaClicked(); },
            .loadFromUnit = [this] { return link.loadFromUnit() == LinkOutcome::Done; },
            .saveToUnit = [this] { link.saveToUnit(); },
            .print = [this] { ++printed; },
            .confirmExit = [this](MessageButtons buttons) { return link.confirmExit(buttons); },
            .listPorts = {},
            .leaveProgrammingMode = [this] { link.leaveProgrammingMode(); },
        };
        unit.memoryCode = 4; // 2,048 bytes
        boxes.expectBox(PressButton);
        click("btDEA");
        ASSERT_EQ(control<QLabel>("tabDeAktivNapis")->text(), "Aktivní");
    }

    void TearDown() override {
        QApplication::setDoubleClickInterval(doubleClickInterval_);
        WindowTest::TearDown();
    }

    /// A path in the test's own folder, as the file dialogs give it.
    std::string path(const QString& name) const {
        return QFile::encodeName(folder.filePath(name)).toStdString();
    }

    FakeLine line;
    FakeUnit unit{line};
    DeviceLink link{form, *image, window.progress(), window.stop(), line, line};
    ScriptedFileDialogs dialogs;
    QTemporaryDir folder;
    int printed = 0;

  private:
    int doubleClickInterval_ = 0;
};

} // namespace orb::test
