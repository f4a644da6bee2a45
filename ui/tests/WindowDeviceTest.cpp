// The main window with its real device link, driven by clicks, against the simulated unit on a
// pseudo-terminal paced at 19,200 bit/s.
#include "link/DeviceLink.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "link/qt/StopSignals.h"
#include "tests/support/LinkBoxes.h"
#include "tests/support/OrbsimProcess.h"
#include "ui/tests/WindowFixture.h"

#include <csignal>
#include <optional>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <unistd.h>

namespace orb {
namespace {

using test::PressButton;
using test::ReadDone;
using test::WriteDone;
constexpr TextRef Station{TextField::tabJmenoStanice};

/// The window wired to the serial port as the program wires it, with a simulated unit on COM 1.
class WindowDeviceTest : public test::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window.commands() = {
            .dea = [this] { link.onDeaClicked(); },
            .loadFromUnit = [this] { return link.loadFromUnit() == LinkOutcome::Done; },
            .saveToUnit = [this] { link.saveToUnit(); },
            .print = {},
            .confirmExit = [this](MessageButtons buttons) { return link.confirmExit(buttons); },
            .listPorts = {},
            .leaveProgrammingMode = [this] { link.leaveProgrammingMode(); },
        };
    }

    void click(const char* name) { control<QAbstractButton>(name)->click(); }
    QString state() { return control<QLabel>("tabDeAktivNapis")->text(); }

    /// Starts a 256-byte unit and activates it with btDEA.
    void activate() {
        unit.emplace(QStringList{"--memory", "256"});
        boxes.expectBox(PressButton);
        click("btDEA");
        ASSERT_EQ(state(), "Aktivní");
    }

    std::optional<test::OrbsimProcess> unit;
    QtSerialPort port;
    QtWaiter waiter;
    DeviceLink link{form, *image, window.progress(), window.stop(), port, waiter};
};

TEST_F(WindowDeviceTest, NoEntryDialogOpensWhileAWriteRunsAndTheWriteCompletes) {
    activate();
    form.setText(Station, "CHATA");

    // Every way to a modal window is tried while the write waits for the unit; a window that opens
    // anyway is closed with its Storno at once and recorded.
    int tries = 0;
    QStringList opened;
    QTimer closeAnyDialog;
    closeAnyDialog.setInterval(10);
    QObject::connect(&closeAnyDialog, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        opened << dialog->objectName();
        if (auto* storno = dialog->findChild<QPushButton*>("btStorno"))
            storno->click();
        else
            dialog->reject();
    });
    QTimer tryDialogs;
    tryDialogs.setInterval(150);
    QObject::connect(&tryDialogs, &QTimer::timeout, [&] {
        ++tries;
        auto* tabs = control<QTabWidget>("TabList");
        tabs->setCurrentIndex(1);
        click("tabTCZmenit_0");
        QTest::mouseDClick(control("tabTC_2"), Qt::LeftButton);
        tabs->setCurrentIndex(2);
        QTest::mouseDClick(control("tabINPNazev_5"), Qt::LeftButton);
        click("tabOUTbt_7");
        click("btInformace");
    });
    closeAnyDialog.start();
    tryDialogs.start();
    boxes.expectBox(WriteDone);
    click("btEEPROMSave");
    tryDialogs.stop();
    closeAnyDialog.stop();
    EXPECT_GE(tries, 3);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();

    // The unit holds what was written: a read brings the settings back.
    form.setText(Station, "DOMA");
    boxes.expectBox(test::unsavedQuestion(test::LoadTitle), Answer::No);
    boxes.expectBox(ReadDone);
    click("btEEPROMLoad");
    EXPECT_EQ(form.text(Station), "CHATA");
    click("btDEA");
    EXPECT_EQ(state(), "Neaktivní");
    EXPECT_EQ(unit->count("deactivate"), 1);
}

TEST_F(WindowDeviceTest, ADoubleClickOnDeaktivovatDeactivatesOnceAndStartsNoActivation) {
    activate();
    const int hellos = unit->count("hello");
    QTest::qWait(QApplication::doubleClickInterval() + 50); // a click as soon as the state changed is ignored
    // What a double click delivers: press, release, then the second press as a double click, release.
    auto* dea = control("btDEA");
    QTest::mouseClick(dea, Qt::LeftButton);
    QTest::mouseDClick(dea, Qt::LeftButton);
    QTest::mouseRelease(dea, Qt::LeftButton); // no box: the second click starts nothing
    test::settle();
    EXPECT_EQ(state(), "Neaktivní");
    EXPECT_EQ(unit->count("deactivate"), 1);
    EXPECT_EQ(unit->count("hello"), hellos);
    EXPECT_FALSE(port.isOpen());

    // A deliberate click once the double-click interval has passed acts as always.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    boxes.expectBox(PressButton);
    click("btDEA");
    EXPECT_EQ(state(), "Aktivní");
}

TEST_F(WindowDeviceTest, EscapeInTheActivationBoxIsStornoAndTheUnitIsNotGreeted) {
    unit.emplace(QStringList{"--memory", "256"});
    window.setPrompter(nullptr); // the real box, which Esc closes
    test::whenModalShows([](QDialog& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    click("btDEA");
    EXPECT_EQ(state(), "Neaktivní");
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(unit->count("hello"), 0);

    // Its OK still starts the activation.
    test::whenModalShows([](QDialog& box) { QTest::keyClick(&box, Qt::Key_Return); });
    click("btDEA");
    EXPECT_EQ(state(), "Aktivní");
}

/// Sends a stop signal to the program as `kill` does, to no thread in particular, and lets the event
/// loop take it.
void sendStopSignal(int signal) {
    ::kill(::getpid(), signal);
    ASSERT_TRUE(QTest::qWaitFor([] { return StopSignals::stopSignal() != 0; }));
    test::settle();
}

class WindowStopTest : public WindowDeviceTest, public testing::WithParamInterface<int> {};

/// A box or dialog open before any exchange with the unit, and the click that opens it.
struct OpenBox {
    const char* name;
    const char* button;
    bool changeSettings = false; ///< so that Ukončit asks whether to save them
};

class StopAtEachBoxTest : public WindowDeviceTest,
                          public testing::WithParamInterface<std::tuple<int, OpenBox>> {};

TEST_P(StopAtEachBoxTest, ASignalClosesTheBoxAsStornoAndEndsWithoutTalkingToTheUnit) {
    const auto& [signal, box] = GetParam();
    const StopSignals stopSignals([this] { window.stopOnSignal(); });
    unit.emplace(QStringList{"--memory", "256"});
    if (box.changeSettings) typeInto("tabJmenoStanice", "Chata");
    window.setPrompter(nullptr); // the real boxes, which the signal closes
    test::whenModalShows([signal](QDialog&) { sendStopSignal(signal); });
    click(box.button);
    test::settle();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(unit->requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, StopAtEachBoxTest,
                         testing::Combine(testing::Values(SIGTERM, SIGHUP),
                                          testing::Values(OpenBox{"activation", "btDEA"},
                                                          OpenBox{"about", "btInformace"},
                                                          OpenBox{"openFile", "btFileLoad"},
                                                          OpenBox{"saveQuestion", "btKonec", true})),
                         [](const testing::TestParamInfo<std::tuple<int, OpenBox>>& info) {
                             return SignalName(std::get<0>(info.param)).substr(3) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST_P(WindowStopTest, ASignalDuringAWriteStopsItDeactivatesTheUnitAndClosesTheWindow) {
    const StopSignals stopSignals([this] { window.stopOnSignal(); });
    activate();
    QTimer::singleShot(600, [signal = GetParam()] { ::kill(::getpid(), signal); });
    click("btEEPROMSave"); // no box: nobody may be there to answer it
    EXPECT_EQ(StopSignals::stopSignal(), GetParam());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(port.isOpen());
    const std::vector<std::string> requests = unit->requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back(), "deactivate");
    EXPECT_GT(unit->count("write"), 1);
    EXPECT_LT(unit->count("write"), 2 * 32 + 2); // the write did not run to its end
}

TEST_P(WindowStopTest, ASignalWhileAnEntryDialogIsOpenClosesItUnchangedAndDeactivates) {
    const StopSignals stopSignals([this] { window.stopOnSignal(); });
    activate();
    test::whenModalShows([this](QDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("INPNazev"), "SVETLO");
        sendStopSignal(GetParam());
    });
    window.openRowDialog(RowDialogKind::Input, 2);
    EXPECT_EQ(form.text({TextField::tabINPNazev, 2}), "");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(unit->requests().back(), "deactivate");
}

INSTANTIATE_TEST_SUITE_P(Signals, WindowStopTest, testing::Values(SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int>& info) {
                             return SignalName(info.param).substr(3);
                         });

} // namespace
} // namespace orb
