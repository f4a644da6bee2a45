// A telephone number pasted as technicians receive it reaches its rule as digits.
#include "ui/tests/WindowFixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTabWidget>

namespace orb {
namespace {

using test::errorBox;
using test::focus;
using test::settle;
using test::WindowTest;

class PasteTest : public WindowTest {
  protected:
    /// Puts text on the clipboard and pastes it into a field with Ctrl+V.
    void pasteInto(QWidget* field, const QString& text) {
        QApplication::clipboard()->setText(text);
        focus(field);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
    QString textOf(const char* name) { return control<QLineEdit>(name)->text(); }
};

TEST_F(PasteTest, SpacesDashesDotsBracketsAndLineEndsGoBeforeTheRuleAndOtherCharactersStay) {
    // Other fields keep what is pasted into them.
    pasteInto(control("tabJmenoStanice"), "Sklad 2 (Brno)");
    EXPECT_EQ(textOf("tabJmenoStanice"), "Sklad 2 (Brno)");

    control<QTabWidget>("TabList")->setCurrentIndex(1);
    pasteInto(control("tabTC_0"), "+420 602 111 222\n");
    EXPECT_EQ(textOf("tabTC_0"), "+420602111222");
    pasteInto(control("tabTC_1"), "(602) 111-222\r\n");
    EXPECT_EQ(textOf("tabTC_1"), "602111222");
    focus(control("tabTC_2")); // no box: both numbers pass their rule
    EXPECT_EQ(form.text({TextField::tabTC, 0}), "+420602111222");
    EXPECT_EQ(form.text({TextField::tabTC, 1}), "+420602111222");

    pasteInto(control("tabTC_2"), "602.111.22a");
    boxes.expectBox(errorBox("Telefonní číslo je špatně zadáno."));
    focus(control("tabTC_3"));
    EXPECT_EQ(textOf("tabTC_2"), "60211122a");
    EXPECT_EQ(QApplication::focusWidget(), control("tabTC_2"));

    // Typed by hand, a space is the user's own and the rule refuses it as always.
    control<QLineEdit>("tabTC_2")->selectAll();
    test::typeKeys(control("tabTC_2"), "602 111");
    boxes.expectBox(errorBox("Telefonní číslo je špatně zadáno."));
    focus(control("tabTC_3"));
    pasteInto(control("tabTC_2"), "602 111");
    focus(control("tabTC_3"));
    EXPECT_EQ(form.text({TextField::tabTC, 2}), "+420602111");
}

TEST_F(PasteTest, TheContextMenusPasteCleansTheSmsCentresNumberToo) {
    auto* centre = control<QComboBox>("tabTCcentra");
    focus(centre);
    QApplication::clipboard()->setText("+420 603 052 000");
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        const QString pasteKey = "\t" + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* action : menu->actions())
            if (action->text().endsWith(pasteKey)) action->trigger();
        menu->close();
    });
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                centre->lineEdit()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(centre->lineEdit(), &menuEvent);
    EXPECT_EQ(centre->currentText(), "+420603052000");
    EXPECT_EQ(form.text({TextField::tabTCcentra}), "+420603052000");

    // Ctrl+V in the list's field as well.
    centre->lineEdit()->selectAll();
    QApplication::clipboard()->setText("603 052 001\n");
    QTest::keyClick(centre, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(centre->currentText(), "603052001");
}

TEST_F(PasteTest, TheNumberOfTheEntryDialogIsCleanedAsWell) {
    QApplication::clipboard()->setText("602 111 222\n");
    test::whenModalShows([](QDialog& dialog) {
        auto* number = dialog.findChild<QLineEdit*>("TC");
        number->selectAll();
        QTest::keyClick(number, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(number->text(), "602111222");
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    window.openRowDialog(RowDialogKind::Phone, 4);
    settle();
    EXPECT_EQ(form.text({TextField::tabTC, 4}), "+420602111222");
}

} // namespace
} // namespace orb
