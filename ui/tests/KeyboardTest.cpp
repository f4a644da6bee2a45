// The window from the keyboard: the commands' keys, the tables' Enter and arrow keys, the entry dialogs'
// access keys.
#include "ui/RowTables.h"
#include "ui/tests/WindowWithUnit.h"

#include <QCheckBox>
#include <QMap>
#include <QRegularExpression>
#include <QTabWidget>

namespace orb {
namespace {

using test::focus;
using test::settle;
using test::whenModalShows;

class KeyboardTest : public test::WindowWithUnit {
  protected:
    /// Presses a key as the user would, with the focus in the PIN field, and lets an access key's
    /// delayed click come.
    void pressKey(const QKeySequence& key) {
        focus(control("tabPIN"));
        QTest::keySequence(QApplication::focusWidget(), key);
        test::awaitAccessKeyClick();
    }

    /// The title of the dialog that opens while the action runs; empty when none opens.
    QString dialogOpenedBy(const std::function<void()>& action) {
        QString title;
        whenModalShows([&](QDialog& dialog) { title = dialog.windowTitle(); });
        action();
        settle(); // where no dialog opened, lets the check for one run and fail
        return title;
    }
};

TEST_F(KeyboardTest, EachCommandButtonHasItsKeys) {
    struct Case {
        const char* keys;
        std::function<void()> expect; ///< scripts what the command shows
        std::function<bool()> ran;
    };
    const std::string saved = path("klavesy.eep");
    const auto cancelDialog = [this] { dialogs.answers = {std::nullopt}; };
    const auto dialogCame = [this] { return dialogs.answers.empty(); };
    const Case cases[] = {
        {"Ctrl+S", [&] { dialogs.answers = {saved}; },
         [&] { return !test::contentOf(QString::fromStdString(saved)).isEmpty(); }},
        {"Alt+2", cancelDialog, dialogCame},
        {"Ctrl+O", cancelDialog, dialogCame},
        {"Alt+1", cancelDialog, dialogCame},
        {"Alt+3", [this] { boxes.expectBox(test::NotProgrammed); },
         [this] { return !unit.requestsOf(0x04).empty(); }},
        {"Alt+4", [this] { boxes.expectBox(test::WriteDone); },
         [this] { return !unit.requestsOf(0x05).empty(); }},
        {"Ctrl+P", [] {}, [this] { return printed == 1; }},
        {"Alt+5", [] {}, [this] { return printed == 2; }},
    };
    for (const Case& c : cases) {
        c.expect();
        pressKey(QKeySequence(c.keys));
        EXPECT_TRUE(c.ran()) << c.keys;
    }
}

TEST_F(KeyboardTest, AKeyOfACommandPassesTheGateOfTheFieldItLeaves) {
    typeInto("tabPIN", "12a");
    boxes.expectBox(test::errorBox("PIN je špatně zadán."));
    QTest::keySequence(control("tabPIN"), QKeySequence("Ctrl+P"));
    test::awaitAccessKeyClick();
    EXPECT_EQ(printed, 0);
    EXPECT_EQ(QApplication::focusWidget(), control("tabPIN"));
}

TEST_F(KeyboardTest, EnterOnAnyControlOfATableRowOpensItsDialog) {
    auto* tabs = control<QTabWidget>("TabList");
    const struct {
        int tab;
        const char* control;
        QString title;
    } cases[] = {
        {1, "tabTC_3", "Telefonní číslo T3"},
        {1, "tabTCUdalost_7", "Telefonní číslo T7"},
        {1, "tabTCZmenit_0", "Telefonní číslo T0"},
        {2, "tabINPHL_5", "Vstup I5"},
        {2, "tabINPNeg_1", "Vstup I1"},
        {3, "tabOUTZap_2", "Výstup O2"},
        {3, "tabOUTbt_6", "Výstup O6"},
    };
    for (const auto& c : cases) {
        tabs->setCurrentIndex(c.tab);
        QWidget* start = control(c.control);
        focus(start);
        EXPECT_EQ(dialogOpenedBy([&] { QTest::keyClick(start, Qt::Key_Return); }), c.title) << c.control;
    }
}

TEST_F(KeyboardTest, UpAndDownMoveAlongATableColumn) {
    auto* tabs = control<QTabWidget>("TabList");
    tabs->setCurrentIndex(2);
    focus(control("tabINPZap_0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); // the first row stays
    EXPECT_EQ(QApplication::focusWidget(), control("tabINPZap_0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), control("tabINPZap_2"));

    focus(control("tabINPZpr_7"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // the last row stays
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), control("tabINPZpr_6"));

    // A value its rule refuses keeps the focus, whichever way it is left.
    tabs->setCurrentIndex(1);
    typeInto("tabTC_1", "12a");
    boxes.expectBox(test::errorBox("Telefonní číslo je špatně zadáno."));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), control("tabTC_1"));
}

TEST_F(KeyboardTest, EntryDialogsHaveDistinctAccessKeysThatReachTheirFields) {
    // In the input dialog Alt+Z goes to "Zapnuto" and Alt+G ticks "Negovat hodnoty".
    whenModalShows([](QDialog& dialog) {
        // The offscreen platform leaves the main window active under a modal dialog.
        QApplication::setActiveWindow(&dialog);
        ASSERT_EQ(QApplication::activeWindow(), &dialog);
        QTest::keyClick(dialog.focusWidget(), 'z', Qt::AltModifier);
        EXPECT_EQ(dialog.focusWidget(), dialog.findChild<QWidget*>("INPZap"));
        QTest::keyClick(dialog.focusWidget(), 'g', Qt::AltModifier);
        test::awaitAccessKeyClick();
        EXPECT_TRUE(dialog.findChild<QCheckBox*>("INPNeg")->isChecked());
    });
    window.openRowDialog(RowDialogKind::Input, 4);

    for (const auto& open : std::initializer_list<std::function<void()>>{
             [this] { window.openRowDialog(RowDialogKind::Phone, 0); },
             [this] { window.openRowDialog(RowDialogKind::Input, 0); },
             [this] { window.openRowDialog(RowDialogKind::Output, 0); }}) {
        whenModalShows([](QDialog& dialog) {
            QMap<QChar, QStringList> owners;
            const auto note = [&owners](const QString& caption) {
                const qsizetype marker = caption.indexOf(QRegularExpression("&[^&]"));
                if (marker >= 0) owners[caption[marker + 1].toLower()] << caption;
            };
            int captionsOfFields = 0;
            for (QLabel* label : dialog.findChildren<QLabel*>()) {
                note(label->text());
                if (label->buddy()) ++captionsOfFields;
            }
            for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
                if (button->isVisible()) {
                    note(button->text());
                    EXPECT_TRUE(button->text().contains('&')) << button->text().toStdString();
                }
            for (auto it = owners.cbegin(); it != owners.cend(); ++it)
                EXPECT_EQ(it->size(), 1) << it->join(", ").toStdString();
            EXPECT_EQ(captionsOfFields, dialog.findChildren<QLineEdit*>().size())
                << dialog.objectName().toStdString();
        });
        open();
    }
}

} // namespace
} // namespace orb
