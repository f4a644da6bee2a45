#include "ui/tests/WindowFixture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

namespace orb {
namespace {

using test::focus;
using test::whenModalShows;
using test::WindowTest;

class InfoWindowsTest : public WindowTest {
  protected:
    QWidget* info() { return window.findChild<QWidget*>("Info"); }
    template <class Widget> Widget* inInfo(const char* name) { return info()->findChild<Widget*>(name); }
};

TEST_F(InfoWindowsTest, ProgressShowsItsMessageAndStornoCancelsAndHides) {
    Progress& progress = window.progress();
    EXPECT_EQ(info(), nullptr); // made at its first showing

    progress.showProgress("Zapněte zařízení. Program se pokouší navázat komunikaci.", true);
    ASSERT_TRUE(info());
    EXPECT_TRUE(info()->isVisible());
    EXPECT_EQ(info()->windowTitle(), "ORB");
    EXPECT_EQ(inInfo<QLabel>("Napis")->text(), "Zapněte zařízení. Program se pokouší navázat komunikaci.");
    EXPECT_TRUE(inInfo<QPushButton>("Storno")->isVisible());
    EXPECT_FALSE(window.stop().stopped());

    inInfo<QPushButton>("Storno")->click();
    EXPECT_TRUE(window.stop().stopped());
    EXPECT_FALSE(info()->isVisible());

    // The next command starts with nothing asked; without Storno nothing but the program closes it.
    window.stop().begin();
    progress.showProgress("Převádím data ...", false);
    EXPECT_FALSE(window.stop().stopped());
    EXPECT_FALSE(inInfo<QPushButton>("Storno")->isVisible());
    info()->close();
    EXPECT_TRUE(info()->isVisible());
    progress.hideProgress();
    EXPECT_FALSE(info()->isVisible());
    progress.hideProgress();
    EXPECT_FALSE(info()->isVisible());
}

TEST_F(InfoWindowsTest, EscapePressesStornoWhileItShowsFromTheMainWindowToo) {
    Progress& progress = window.progress();
    auto* pin = control<QLineEdit>("tabPIN");
    focus(pin);
    progress.showProgress("Převádím data ...", false);
    QTest::keyClick(info(), Qt::Key_Escape);
    EXPECT_FALSE(window.stop().stopped());
    EXPECT_TRUE(info()->isVisible());
    progress.hideProgress();
    EXPECT_TRUE(window.isActiveWindow());
    EXPECT_EQ(QApplication::focusWidget(), pin);

    // The window does not ask for the keyboard (the offscreen platform gives it anyway); where the main
    // window keeps it, Esc reaches Storno all the same.
    progress.showProgress("Zapněte zařízení. Program se pokouší navázat komunikaci.", true);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(pin, Qt::Key_Escape);
    EXPECT_TRUE(window.stop().stopped());
    EXPECT_FALSE(info()->isVisible());

    window.stop().begin();
    progress.showProgress("Načítám data z EEPROM ...", true);
    QTest::keyClick(info(), Qt::Key_Escape);
    EXPECT_TRUE(window.stop().stopped());
}

TEST_F(InfoWindowsTest, TheBarShowsOnlyWhenAShowingReportsBlocks) {
    Progress& progress = window.progress();
    progress.showProgress("Načítám data z EEPROM ...", true);
    auto* bar = inInfo<QProgressBar>("Prubeh");
    EXPECT_FALSE(bar->isVisible());
    const int plainHeight = info()->height();

    progress.setProgressValue(3, 256);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(bar->maximum(), 256);
    EXPECT_GT(info()->height(), plainHeight);

    progress.hideProgress();
    progress.showProgress("Ukládám nastavení do souboru 'a.eep'.", false);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(info()->height(), plainHeight);
    progress.hideProgress();
}

TEST_F(InfoWindowsTest, AnEntryDialogsStornoNeverStopsTheExchange) {
    window.progress().showProgress("Převádím data ...", false);
    whenModalShows([](QDialog& dialog) { dialog.findChild<QPushButton*>("btStorno")->click(); });
    window.openRowDialog(RowDialogKind::Output, 0);
    EXPECT_FALSE(window.stop().stopped());
    window.progress().hideProgress();
}

TEST_F(InfoWindowsTest, TheAboutWindowShowsTheSameTextEveryTime) {
    const QStringList expected = {"",
                                  "ORB verze 1.01",
                                  "Linuxová verze pro Qt 6",
                                  "",
                                  "Program umožňuje naprogramovat EEPROM zařízení ORB a ",
                                  "ORBTONE",
                                  QString(92, '-'),
                                  "Verze procesoru zařízení 1.2 a vyšší",
                                  "Verze komunikačního protokolu 1.15",
                                  QString(92, '-'),
                                  "Spojení se zařízením: sériový port, 19200 Bd",
                                  "14.3.1999",
                                  ""};
    QDialog* first = nullptr;
    for (int opening = 0; opening < 2; ++opening) {
        whenModalShows([&](QDialog& dialog) {
            if (!first) first = &dialog;
            EXPECT_EQ(&dialog, first);
            EXPECT_EQ(dialog.windowTitle(), "Informace o programu ORB");
            auto* text = dialog.findChild<QTextEdit*>("Text1");
            EXPECT_TRUE(text->isReadOnly());
            EXPECT_EQ(text->toPlainText().split('\n'), expected);
            auto* close = dialog.findChild<QPushButton*>("blZavrit");
            EXPECT_EQ(close->text(), "&Zavřít");
            EXPECT_TRUE(close->isDefault());
            QTest::keyClick(&dialog, Qt::Key_Return);
            EXPECT_FALSE(dialog.isVisible());
        });
        control<QPushButton>("btInformace")->click();
    }
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace orb
