#include "ui/RowTables.h"
#include "ui/tests/WindowFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace orb {
namespace {

using test::focus;
using test::whenModalShows;
using test::WindowTest;

template <class Widget = QLineEdit> Widget* in(QDialog& dialog, const char* name) {
    auto* found = dialog.findChild<Widget*>(name);
    EXPECT_TRUE(found) << "no control " << name;
    return found;
}

/// Types into a dialog field after giving it the focus, replacing its text.
void typeIn(QDialog& dialog, const char* name, const QString& text) {
    auto* edit = in(dialog, name);
    focus(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

class RowDialogTest : public WindowTest {
  protected:
    QString usage() { return control<QLabel>("lblInfoPamUsage")->text(); }
};

TEST_F(RowDialogTest, EachDialogIsTitledForItsRow) {
    struct Case {
        std::function<void(Hlavni&)> open;
        QString title;
    };
    const Case cases[] = {
        {[](Hlavni& w) { w.openRowDialog(RowDialogKind::Phone, 0); }, "Telefonní číslo T0"},
        {[](Hlavni& w) { w.openRowDialog(RowDialogKind::Input, 0); }, "Vstup I0"},
        {[](Hlavni& w) { w.openRowDialog(RowDialogKind::Output, 0); }, "Výstup O0"},
        {[](Hlavni& w) { w.openRowDialog(RowDialogKind::Phone, 7); }, "Telefonní číslo T7"},
        {[](Hlavni& w) { w.openRowDialog(RowDialogKind::Input, 7); }, "Vstup I7"},
        {[](Hlavni& w) { w.openRowDialog(RowDialogKind::Output, 7); }, "Výstup O7"},
    };
    for (const Case& c : cases) {
        QString title;
        whenModalShows([&](QDialog& dialog) { title = dialog.windowTitle(); });
        c.open(window);
        EXPECT_EQ(title, c.title);
    }
    // The row's "Změnit" button opens the same dialog.
    QString title;
    whenModalShows([&](QDialog& dialog) { title = dialog.windowTitle(); });
    control<QTabWidget>("TabList")->setCurrentIndex(3);
    control<QPushButton>(rowControlName("tabOUTbt", 4))->click();
    EXPECT_EQ(title, "Výstup O4");
}

/// Checks that each edit control named after a setting (tabTC_3 in the window, TC in a dialog) takes
/// exactly the length that orbctl import allows that setting; returns how many it checked.
int expectImportLimits(const QWidget& parent, const QString& prefix) {
    int checked = 0;
    for (const QLineEdit* edit : parent.findChildren<QLineEdit*>()) {
        const QString name = prefix + edit->objectName().section('_', 0, 0);
        for (const TextField field : AllTextFields) {
            if (name != QString::fromUtf8(fieldName(field))) continue;
            const int limit = maxTextLength(field);
            EXPECT_EQ(edit->maxLength(), limit > 0 ? limit : QLineEdit().maxLength()) << name.toStdString();
            ++checked;
        }
    }
    return checked;
}

TEST_F(RowDialogTest, EditControlsRefuseWhatImportRefuses) {
    EXPECT_EQ(expectImportLimits(window, ""), 11 * RowCount + 12);
    const std::function<void(Hlavni&)> dialogs[] = {
        [](Hlavni& w) { w.openRowDialog(RowDialogKind::Phone, 3); },
        [](Hlavni& w) { w.openRowDialog(RowDialogKind::Input, 3); },
        [](Hlavni& w) { w.openRowDialog(RowDialogKind::Output, 3); }};
    int checked = 0;
    for (const auto& open : dialogs) {
        whenModalShows([&](QDialog& dialog) {
            checked += expectImportLimits(dialog, "tab");
            in<QPushButton>(dialog, "btStorno")->click();
        });
        open(window);
    }
    EXPECT_EQ(checked, 1 + 5 + 5);
}

TEST_F(RowDialogTest, OkOrEnterCopiesTheRowBackAndOnlyThatRow) {
    for (bool byEnter : {false, true}) {
        SCOPED_TRACE(byEnter ? "Enter" : "Ok");
        const int row = byEnter ? 6 : 5;
        form.setText({TextField::tabINPNazev, 4}, "BRANA");
        const QString before = usage();
        whenModalShows([&](QDialog& dialog) {
            typeIn(dialog, "INPNazev", "DVERE");
            typeIn(dialog, "INPZap", "OTEVRENO");
            QTest::mouseClick(in<QCheckBox>(dialog, "INPZpr"), Qt::LeftButton);
            // The size counts the main window, which the dialog has not changed yet.
            EXPECT_EQ(usage(), before);
            if (byEnter)
                QTest::keyClick(in(dialog, "INPZap"), Qt::Key_Return);
            else
                in<QPushButton>(dialog, "btOk")->click();
        });
        window.openRowDialog(RowDialogKind::Input, row);
        EXPECT_EQ(form.text({TextField::tabINPNazev, row}), "DVERE");
        EXPECT_EQ(form.text({TextField::tabINPZap, row}), "OTEVRENO");
        EXPECT_TRUE(form.flag(FlagField::tabINPZpr, row));
        EXPECT_EQ(control<QLineEdit>(rowControlName("tabINPNazev", row))->text(), "DVERE");
        EXPECT_EQ(form.text({TextField::tabINPNazev, 4}), "BRANA");
        EXPECT_FALSE(form.flag(FlagField::tabINPZpr, 4));
        EXPECT_EQ(usage().chopped(5).toInt(), before.chopped(5).toInt() + 13);
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(RowDialogTest, StornoEscAndTheCloseButtonChangeNothing) {
    form.setText({TextField::tabINPNazev, 2}, "PUVODNI");
    const SettingsRecord before = form.record();
    struct Way {
        const char* name;
        std::function<void(QDialog&)> close;
        bool discards;
    };
    const Way ways[] = {
        {"Storno", [](QDialog& d) { in<QPushButton>(d, "btStorno")->click(); }, false},
        {"Esc", [](QDialog& d) { QTest::keyClick(in(d, "INPNazev"), Qt::Key_Escape); }, false},
        {"close button", [](QDialog& d) { d.close(); }, true},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        QPointer<QDialog> used;
        whenModalShows([&](QDialog& dialog) {
            used = &dialog;
            // The dialog opens with the name's whole text selected.
            EXPECT_EQ(dialog.focusWidget(), in(dialog, "INPNazev"));
            EXPECT_EQ(in(dialog, "INPNazev")->selectedText(), "PUVODNI");
            typeIn(dialog, "INPNazev", "ZMENA");
            QTest::mouseClick(in<QCheckBox>(dialog, "INPNeg"), Qt::LeftButton);
            way.close(dialog);
        });
        window.openRowDialog(RowDialogKind::Input, 2);
        EXPECT_EQ(form.record(), before);
        EXPECT_EQ(used.isNull(), way.discards);
    }
    // The next opening shows the row's own values, not an abandoned edit.
    QString shown;
    whenModalShows([&](QDialog& dialog) { shown = in(dialog, "INPNazev")->text(); });
    window.openRowDialog(RowDialogKind::Input, 2);
    EXPECT_EQ(shown, "PUVODNI");
}

TEST_F(RowDialogTest, TheTelephoneDialogChecksTheRowsFlagsWhenItCloses) {
    const Message noReceive = test::warningBox(
        "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Příjem' nezaškrtnuté.");
    const Message noEvents = test::warningBox(
        "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Události' nezaškrtnuté.");

    // Ok with the number cleared and Příjem left checked: copied back empty, then reported and cleared.
    form.setText({TextField::tabTC, 1}, "+420123456789");
    form.setFlag(FlagField::tabTCPrijem, 1, true);
    whenModalShows([&](QDialog& dialog) {
        typeIn(dialog, "TC", "");
        QTest::keyClick(in(dialog, "TC"), Qt::Key_Backspace);
        EXPECT_TRUE(in<QCheckBox>(dialog, "TCPrijem")->isChecked());
        boxes.expectBox(noReceive);
        in<QPushButton>(dialog, "btOk")->click();
    });
    window.openRowDialog(RowDialogKind::Phone, 1);
    EXPECT_EQ(form.text({TextField::tabTC, 1}), "");
    EXPECT_FALSE(form.flag(FlagField::tabTCPrijem, 1));
    EXPECT_FALSE(control<QCheckBox>("tabTCPrijem_1")->isChecked());

    // Storno on a row that a loaded image left with a flag but no number still checks it.
    {
        const SettingsForm::ImageLoadingScope loading(form);
        form.setFlag(FlagField::tabTCUdalost, 6, true);
    }
    whenModalShows([&](QDialog& dialog) {
        boxes.expectBox(noEvents);
        in<QPushButton>(dialog, "btStorno")->click();
    });
    window.openRowDialog(RowDialogKind::Phone, 6);
    EXPECT_FALSE(form.flag(FlagField::tabTCUdalost, 6));
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(RowDialogTest, HiddenAndDisabledFieldsPassThroughUnchanged) {
    form.setText({TextField::tabTC, 4}, "+420601000000");
    form.setFlag(FlagField::tabTCPoplach, 4, true);
    form.setText({TextField::tabOUTimpuls, 1}, "PULS");
    form.setText({TextField::tabOUTimpulsLEN, 1}, "25");
    const SettingsRecord before = form.record();

    whenModalShows([&](QDialog& dialog) {
        auto* alarm = in<QCheckBox>(dialog, "TCPoplach");
        EXPECT_TRUE(alarm->isHidden());
        EXPECT_TRUE(alarm->isChecked());
        in<QPushButton>(dialog, "btOk")->click();
    });
    window.openRowDialog(RowDialogKind::Phone, 4);

    whenModalShows([&](QDialog& dialog) {
        EXPECT_FALSE(in<QGroupBox>(dialog, "Frame3")->isEnabled());
        for (const char* name : {"OUTimpuls", "OUTimpulsLEN"}) {
            auto* edit = in(dialog, name);
            EXPECT_FALSE(edit->isEnabled()) << name;
            edit->setFocus();
            EXPECT_NE(QApplication::focusWidget(), edit) << name;
        }
        EXPECT_EQ(in(dialog, "OUTimpuls")->text(), "PULS");
        EXPECT_EQ(in(dialog, "OUTimpulsLEN")->text(), "25");
        in<QPushButton>(dialog, "btOk")->click();
    });
    window.openRowDialog(RowDialogKind::Output, 1);
    EXPECT_EQ(form.record(), before);
}

TEST_F(RowDialogTest, FieldRulesRunInsideTheDialogWithoutTouchingTheMainWindow) {
    whenModalShows([&](QDialog& dialog) {
        typeIn(dialog, "INPNazev", "Stav");
        boxes.expectBox(
            test::errorBox("Název vstupu nesmí být žádné z těchto klíčových slov (ani jejich "
                           "předpony): STATE;STAV;BACK;NOBACK;RESET;SHUTDOWN;NAME;ZPET;NEZPET;JMENO"));
        focus(in(dialog, "INPZap"));
        EXPECT_EQ(QApplication::focusWidget(), in(dialog, "INPNazev"));
        EXPECT_EQ(in(dialog, "INPNazev")->text(), "Stav");

        // An on/off clash between the dialog's own two fields, reported once.
        typeIn(dialog, "INPNazev", "DVERE");
        typeIn(dialog, "INPVyp", "zap");
        typeIn(dialog, "INPZap", "ZAP");
        boxes.expectBox(test::errorBox("Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'."));
        focus(in(dialog, "INPVyp"));
        EXPECT_EQ(QApplication::focusWidget(), in(dialog, "INPZap"));
        in<QPushButton>(dialog, "btStorno")->click();
    });
    window.openRowDialog(RowDialogKind::Input, 3);
    EXPECT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(control<QTabWidget>("TabList")->currentIndex(), 0);

    // A corrected number shows in the dialog; the size follows once Ok copies it back.
    whenModalShows([&](QDialog& dialog) {
        typeIn(dialog, "TC", "0123456789");
        focus(in<QWidget>(dialog, "TCPrijem"));
        EXPECT_EQ(in(dialog, "TC")->text(), "+420123456789");
        EXPECT_EQ(usage(), "150 byte");
        in<QPushButton>(dialog, "btOk")->click();
    });
    window.openRowDialog(RowDialogKind::Phone, 2);
    EXPECT_EQ(form.text({TextField::tabTC, 2}), "+420123456789");
    EXPECT_EQ(usage(), "166 byte");
}

TEST_F(RowDialogTest, OkRunsTheRuleOfTheFieldJustEditedFirst) {
    const Message keyword =
        test::errorBox("Název vstupu nesmí být žádné z těchto klíčových slov (ani jejich "
                       "předpony): STATE;STAV;BACK;NOBACK;RESET;SHUTDOWN;NAME;ZPET;NEZPET;JMENO");
    struct Way {
        const char* name;
        std::function<void(QDialog&)> pressOk;
    };
    // Enter leaves the focus in the field; a click on Ok takes it, with no event between press and release.
    const Way ways[] = {
        {"Enter", [](QDialog& d) { QTest::keyClick(in(d, "INPNazev"), Qt::Key_Return); }},
        {"click", [](QDialog& d) { QTest::mouseClick(in<QPushButton>(d, "btOk"), Qt::LeftButton); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        whenModalShows([&](QDialog& dialog) {
            typeIn(dialog, "INPNazev", "Stav");
            boxes.expectBox(keyword);
            way.pressOk(dialog);
            ASSERT_TRUE(dialog.isVisible());
            EXPECT_EQ(QApplication::focusWidget(), in(dialog, "INPNazev"));
            EXPECT_EQ(in(dialog, "INPNazev")->selectedText(), "Stav");
            QTest::keyClicks(in(dialog, "INPNazev"), "DVERE");
            way.pressOk(dialog);
            EXPECT_FALSE(dialog.isVisible());
        });
        window.openRowDialog(RowDialogKind::Input, 1);
        EXPECT_EQ(form.text({TextField::tabINPNazev, 1}), "DVERE");
        EXPECT_EQ(boxes.boxes.size(), way.name == std::string("Enter") ? 1u : 2u);
    }

    // A number that its rule corrects is copied back corrected.
    whenModalShows([&](QDialog& dialog) {
        typeIn(dialog, "TC", "0123456789");
        QTest::keyClick(in(dialog, "TC"), Qt::Key_Return);
    });
    window.openRowDialog(RowDialogKind::Phone, 3);
    EXPECT_EQ(form.text({TextField::tabTC, 3}), "+420123456789");
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

} // namespace
} // namespace orb
