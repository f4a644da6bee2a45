#include "ui/tests/WindowFixture.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

namespace orb {
namespace {

using test::focus;
using test::whenModalShows;
using test::WindowTest;

/// Real message boxes: answers each box that shows with its default button and records what it showed.
class MessageBoxTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window.setPrompter(nullptr);
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            shown << box->text();
            box->defaultButton() ? box->defaultButton()->click() : box->buttons().constFirst()->click();
        });
        answerer.start(10);
    }

    /// Lets the boxes that the last step raised come and be answered: waits for the first, however busy
    /// the machine, and a moment more for any that would follow it.
    void waitForBoxes() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !shown.isEmpty(); }, 10'000)) << "no box came";
        QTest::qWait(200);
    }

    QTimer answerer;
    QStringList shown;
};

TEST_F(MessageBoxTest, BoxesShowTheirTitleIconAndCzechButtons) {
    answerer.stop();
    struct Case {
        MessageIcon icon;
        MessageButtons buttons;
        QMessageBox::Icon qtIcon;
        QStringList captions;
        Answer answer; ///< the last button's
    };
    const Case cases[] = {
        {MessageIcon::Critical, MessageButtons::Ok, QMessageBox::Critical, {"OK"}, Answer::Ok},
        {MessageIcon::Exclamation, MessageButtons::YesNo, QMessageBox::Warning, {"&Ano", "&Ne"}, Answer::No},
        {MessageIcon::Question,
         MessageButtons::YesNoCancel,
         QMessageBox::Question,
         {"&Ano", "&Ne", "Storno"},
         Answer::Cancel},
        {MessageIcon::Information, MessageButtons::Ok, QMessageBox::Information, {"OK"}, Answer::Ok},
    };
    for (const Case& c : cases) {
        whenModalShows([&](QDialog& dialog) {
            auto& box = static_cast<QMessageBox&>(dialog);
            EXPECT_EQ(box.windowTitle(), "ORB - ukončení programu");
            EXPECT_EQ(box.text(), "Text zprávy");
            EXPECT_EQ(box.icon(), c.qtIcon);
            QStringList captions;
            for (QMessageBox::StandardButton standard :
                 {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
                if (QAbstractButton* button = box.button(standard)) captions << button->text();
            captions.sort();
            QStringList expected = c.captions;
            expected.sort();
            EXPECT_EQ(captions, expected);
            box.buttons().size() == 1
                ? box.buttons().constFirst()->click()
                : box.button(c.answer == Answer::No ? QMessageBox::No : QMessageBox::Cancel)->click();
        });
        EXPECT_EQ(window.ask({"ORB - ukončení programu", "Text zprávy", c.icon, c.buttons}), c.answer);
    }
}

TEST_F(MessageBoxTest, EnterPressesTheQuestionsDefaultAnswer) {
    answerer.stop();
    for (const Answer preferred : {Answer::Yes, Answer::No}) {
        whenModalShows([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
        EXPECT_EQ(window.ask({"ORB - Ukládání dat z PC do EEPROM", "Opravdu přerušit?",
                              MessageIcon::Exclamation, MessageButtons::YesNo, preferred}),
                  preferred);
    }
}

TEST_F(MessageBoxTest, ABoxWithAShortTextIsWideEnoughForItsTitle) {
    answerer.stop();
    for (const char* title :
         {"ORB - chyba", "ORB - Načítání dat z EEPROM do PC", "ORB - Ukládání dat z PC do EEPROM"}) {
        int boxWidth = 0;
        int titleWidth = 0;
        whenModalShows([&](QDialog& dialog) {
            QFont titleFont = dialog.font();
            titleFont.setBold(true);
            titleWidth = QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle());
            boxWidth = dialog.width();
            dialog.reject();
        });
        window.ask({title, "PIN je špatně zadán.", MessageIcon::Critical, MessageButtons::Ok});
        // The title bar holds the icon and three buttons of about 24 pixels each besides the title.
        EXPECT_GE(boxWidth, titleWidth + 4 * 24) << title;
    }
}

TEST_F(MessageBoxTest, AClashShownInARealBoxIsReportedOnceAndTheFocusComesBack) {
    // The box takes the focus from the window while it shows; that is not leaving a field.
    control<QTabWidget>("TabList")->setCurrentIndex(3);
    typeInto("tabOUTVyp_1", "vyp");
    typeInto("tabOUTZap_1", "VYP");
    focus(control("tabOUTVyp_1"));
    waitForBoxes();
    EXPECT_EQ(shown, QStringList{"Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'."});
    EXPECT_EQ(window.focusWidget(), control("tabOUTZap_1"));
    EXPECT_EQ(control<QLineEdit>("tabOUTZap_1")->selectedText(), "VYP");
    // The field that gave the focus back ran its rule, which let go of the clash.
    EXPECT_FALSE(form.imageLoading());
}

} // namespace
} // namespace orb
