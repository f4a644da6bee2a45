#include "ui/RowTables.h"
#include "ui/WindowPalette.h"
#include "ui/tests/WindowFixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

namespace orb {
namespace {

using test::focus;
using test::settle;
using test::WindowTest;

QColor textColour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

TEST_F(WindowTest, StartsOnTheFirstTabWithTheLinkInactiveAndNothingKnownOfTheUnit) {
    EXPECT_EQ(window.windowHandle()->title(), "Inicializační program pro zařízení ORB/ORBTONE");
    EXPECT_EQ(window.size(), QSize(618, 435));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());

    auto* tabs = control<QTabWidget>("TabList");
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->currentIndex(), 0);
    const QStringList titles = {"&Všeobecné", "&Telefonní čísla", "V&stupy", "Výstup&y"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(tabs->tabText(i), titles[i]);

    for (const char* name :
         {"lblInfoProdukt", "lblInfoVerze", "lblInfoModem", "lblInfoPamSize", "lblInfoPamFree"}) {
        EXPECT_EQ(control<QLabel>(name)->text(), "?") << name;
        EXPECT_EQ(textColour(control(name)), ValueColour) << name;
    }
    EXPECT_EQ(control<QLabel>("lblInfoPamUsage")->text(), "150 byte");
    EXPECT_EQ(control<QLabel>("tabDeAktivNapis")->text(), "Neaktivní");
    EXPECT_EQ(textColour(control("tabDeAktivNapis")), AlertColour);

    EXPECT_EQ(control<QToolButton>("btDEA")->text(), "&Aktivovat");
    EXPECT_FALSE(control("btEEPROMLoad")->isEnabled());
    EXPECT_FALSE(control("btEEPROMSave")->isEnabled());
    for (const char* name : {"btFileLoad", "btFileSave", "btTisk", "btInformace", "btKonec", "tabPort"})
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    EXPECT_EQ(control<QComboBox>("tabPort")->currentText(), "COM 1");
    EXPECT_EQ(control<QComboBox>("tabPort")->count(), 4);
}

TEST_F(WindowTest, PortListIsReadAgainEachTimeItOpens) {
    std::vector<std::string> ports = {"COM 1", "COM 2", "COM 3", "COM 4", "ttyUSB0 (FT232R USB UART)"};
    int reads = 0;
    window.commands().listPorts = [&] {
        ++reads;
        return ports;
    };
    window.refreshPorts();
    auto* list = control<QComboBox>("tabPort");
    ASSERT_EQ(list->count(), 5);
    EXPECT_EQ(list->itemText(4), "ttyUSB0 (FT232R USB UART)");
    list->setCurrentIndex(4);
    emit list->activated(4);
    EXPECT_EQ(form.choice(ChoiceField::tabPort), 4);

    ports.insert(ports.begin() + 4, "ttyACM0 (Modem)");
    form.setChoice(ChoiceField::tabPort, 5); // as the link keeps the chosen port chosen
    list->showPopup();
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(list->count(), 6);
    EXPECT_EQ(list->currentText(), "ttyUSB0 (FT232R USB UART)");
    EXPECT_GE(list->view()->minimumWidth(), list->fontMetrics().horizontalAdvance(list->currentText()));
    list->hidePopup();
}

TEST_F(WindowTest, ShowsEverySettingWithItsStartValueLimitAndState) {
    struct Field {
        QString name;
        QString text;
        int maxLength;
        bool enabled;
    };
    const Field fields[] = {
        {"tabJmenoStanice", "", 100, true},
        {"tabPIN", "", 8, true},
        {"tabDobaPlatnostiSMS", "3", 2, true},
        {"rtNotAuthorized", "", 100, true},
        {"tabPrepnoutJTSCislo", "0", 1, true},
        {"tabUTO", "+420", 4, true},
        {"tabTC_0", "", 50, true},
        {"tabINPNazev_3", "", 100, true},
        {"tabINPHL_7", "", 100, true},
        {"tabOUTVyp_4", "", 100, true},
        {"tabOUTimpuls_2", "", 100, false},
        {"tabOUTimpulsLEN_0", "1", 3, false},
        {"tabOUTimpulsLEN_7", "1", 3, false},
        {"rtReCall", "", 100, true},
        {"eeExistTime", "5", 5, true},
        {"tabRFRWait", "3", 3, true},
        {"tabWaitFree", "5", 3, true},
        {"tabKOMUNIKPocetTestu", "1", 3, true},
        {"tabKOMUNIKPocetBloku", "1", 3, true},
    };
    for (const Field& field : fields) {
        auto* edit = control<QLineEdit>(field.name);
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->text(), field.text) << field.name.toStdString();
        EXPECT_EQ(edit->maxLength(), field.maxLength) << field.name.toStdString();
        EXPECT_EQ(edit->isEnabled(), field.enabled) << field.name.toStdString();
    }

    const QStringList checked = {"tabBezpecRezim", "opNotAuthorized", "opExist", "CheckWrite"};
    for (QCheckBox* box : window.findChildren<QCheckBox*>())
        EXPECT_EQ(box->isChecked(), checked.contains(box->objectName())) << box->objectName().toStdString();
    EXPECT_FALSE(control("tabBezpecRezim")->isEnabled());

    auto* centre = control<QComboBox>("tabTCcentra");
    EXPECT_TRUE(centre->isEditable());
    EXPECT_EQ(centre->currentText(), "");
    ASSERT_EQ(centre->count(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(centre->itemText(i).contains(QRegularExpression("^\\+420\\d{9}$")));

    EXPECT_EQ(control<QComboBox>("tabKOMUNIKFormat")->currentText(), "SIA");
    EXPECT_EQ(control<QComboBox>("tabKOMUNIKParita")->currentText(), "Bez parity");
    EXPECT_EQ(control<QComboBox>("tabKOMUNIKFrekvence")->currentText(), "1400 Hz");
    EXPECT_FALSE(control("tabKOMUNIKParita")->isEnabled());
    EXPECT_FALSE(control("tabKOMUNIKFrekvence")->isEnabled());

    for (const char* name :
         {"frUSSD", "Frame7", "Frame2", "tabPrepnoutJTS", "tabPrepnoutJTSCislo", "tabTCPoplach_4"})
        EXPECT_TRUE(control(name)->isHidden()) << name;
    for (int row = 0; row < RowCount; ++row) {
        EXPECT_EQ(control<QLabel>(rowControlName("tabTCjmeno", row))->text(), QString("T%1").arg(row));
        EXPECT_EQ(control<QLabel>(rowControlName("tabINPjmeno", row))->text(), QString("I%1").arg(row));
        EXPECT_EQ(control<QLabel>(rowControlName("tabOUTjmeno", row))->text(), QString("O%1").arg(row));
        for (const char* button : {"tabTCZmenit", "tabINPbt", "tabOUTbt"})
            EXPECT_EQ(control<QPushButton>(rowControlName(button, row))->text(), "Změnit");
    }
}

TEST_F(WindowTest, CommandButtonsCarryTheirTooltipsPicturesAndAccessKeys) {
    const std::pair<const char*, const char*> tooltips[] = {
        {"tabPort", "Sériový port PC, ke kterému je připojeno zařízení"},
        {"btFileLoad", "Načíst nastavení ze souboru (Ctrl+O, Alt+1)"},
        {"btFileSave", "Uložit nastavení do souboru (Ctrl+S, Alt+2)"},
        {"btEEPROMLoad", "Načíst  nastavení z EEPROM (Alt+3)"},
        {"btEEPROMSave", "Uložit nastavení do EEPROM (Alt+4)"},
        {"btTisk", "Tisk nastavení (Ctrl+P, Alt+5)"},
        {"btInformace", "Informace o programu"},
        {"btKonec", "Ukončit program"},
    };
    for (const auto& [name, tooltip] : tooltips)
        EXPECT_EQ(control(name)->toolTip(), tooltip) << name;
    for (const char* name : {"btDEA", "btFileLoad", "btFileSave", "btEEPROMLoad", "btEEPROMSave", "btTisk"})
        EXPECT_FALSE(control<QToolButton>(name)->icon().isNull()) << name;
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(control<QPushButton>("btInformace")->text(), "&Informace");
    EXPECT_EQ(control<QPushButton>("btKonec")->text(), "U&končit");
}

TEST_F(WindowTest, AccessKeysAreDistinctAndAltWithALetterNeverTypesIntoAField) {
    // Every access key of the window, by its letter: the tabs, the captions, the buttons.
    QMap<QChar, QStringList> owners;
    const auto note = [&owners](const QString& caption) {
        const qsizetype marker = caption.indexOf(QRegularExpression("&[^&]"));
        if (marker >= 0) owners[caption[marker + 1].toLower()] << caption;
    };
    auto* tabs = control<QTabWidget>("TabList");
    for (int i = 0; i < tabs->count(); ++i)
        note(tabs->tabText(i));
    for (QLabel* label : window.findChildren<QLabel*>())
        note(label->text());
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        note(button->text());
    note("&Deaktivovat"); // btDEA's other caption
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        EXPECT_EQ(it->size(), 1) << it->join(", ").toStdString();

    // Alt+T from a field goes to "Telefonní čísla" and leaves the field's text alone.
    typeInto("tabJmenoStanice", "Chata");
    auto* station = control<QLineEdit>("tabJmenoStanice");
    QTest::keyClick(station, 'v', Qt::AltModifier); // the page that shows already
    QTest::keyClick(station, 'q', Qt::AltModifier); // no access key at all
    EXPECT_EQ(station->text(), "Chata");
    QTest::keyClick(station, 't', Qt::AltModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    settle();
    EXPECT_EQ(form.text({TextField::tabJmenoStanice}), "Chata");

    auto* first = control<QLineEdit>(rowControlName("tabTC", 0));
    typeInto(first->objectName(), "+420");
    first->selectAll();
    QTest::keyClick(first, 'x', Qt::AltModifier);
    EXPECT_EQ(first->text(), "+420");
    // AltGr types "@" and the like on Czech keyboards; it stays a way to type.
    QTest::keyClick(station, '@', Qt::GroupSwitchModifier);
    QTest::keyClick(control("tabPort"), 'j', Qt::AltModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(WindowTest, AnEmojiCutInHalfByTheLimitIsLeftOutAndTheTextEndsWithAWholeCharacter) {
    // The station's name takes 100 characters; a paste of 99 and an emoji is 101 units of UTF-16, and the
    // limit falls between the emoji's two halves.
    const QString fits = "Chata" + QString(94, '.');
    auto* station = control<QLineEdit>("tabJmenoStanice");
    focus(station);
    station->insert(fits + QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(station->text(), fits);
    focus(control("tabPIN"));
    EXPECT_EQ(form.text({TextField::tabJmenoStanice}), fits.toStdString());
}

/// The names of the controls that Tab visits from tabPort on, up to btKonec.
QStringList tabOrder(QWidget* start) {
    QStringList names;
    QWidget* current = start;
    current->setFocus(Qt::TabFocusReason);
    for (int guard = 0; guard < 100; ++guard) {
        current = QApplication::focusWidget();
        QString name = current->objectName();
        if (auto* bar = qobject_cast<QTabBar*>(current)) name = bar->parent()->objectName();
        names << name;
        if (name == "btKonec") break;
        QTest::keyClick(current, Qt::Key_Tab);
    }
    return names;
}

TEST_F(WindowTest, TabVisitsTheControlsInTheirKeyboardOrderSkippingHiddenAndDisabledOnes) {
    const QStringList outside = {"tabPort",    "btDEA",  "btFileLoad", "btFileSave",
                                 "CheckWrite", "btTisk", "TabList"};
    const QStringList general = {"tabJmenoStanice", "tabPIN",
                                 "tabTCcentra",     "tabDobaPlatnostiSMS",
                                 "tabOdpovidatT0",  "tabPrepnoutNepovolPristup",
                                 "opNotAuthorized", "rtNotAuthorized",
                                 "btInformace",     "btKonec"};
    EXPECT_EQ(tabOrder(control("tabPort")), outside + general);

    control<QTabWidget>("TabList")->setCurrentIndex(1);
    QStringList phones = {"tabUTO"};
    for (const char* column : {"tabTC", "tabTCPrijem", "tabTCUdalost", "tabTCZmenit"})
        for (int row = 0; row < RowCount; ++row)
            phones << rowControlName(column, row);
    const QStringList program = {"btInformace", "btKonec"};
    EXPECT_EQ(tabOrder(control("tabPort")), outside + phones + program);

    control<QTabWidget>("TabList")->setCurrentIndex(3);
    QStringList outputs;
    for (const char* column : {"tabOUTNazev", "tabOUTZap", "tabOUTVyp", "tabOUTNeg", "tabOUTZpr", "tabOUTbt"})
        for (int row = 0; row < RowCount; ++row)
            outputs << rowControlName(column, row);
    EXPECT_EQ(tabOrder(control("tabPort")), outside + outputs + program);
}

TEST_F(WindowTest, EditsReachTheFormAndTheFormsChangesReachTheControls) {
    typeInto("tabJmenoStanice", "Sklad");
    EXPECT_EQ(form.text({TextField::tabJmenoStanice}), "Sklad");
    EXPECT_EQ(control<QLabel>("lblInfoPamUsage")->text(), "155 byte");

    QTest::mouseClick(control<QCheckBox>("tabOdpovidatT0"), Qt::LeftButton);
    EXPECT_TRUE(form.flag(FlagField::tabOdpovidatT0));
    control<QComboBox>("tabPort")->setCurrentIndex(2);
    emit control<QComboBox>("tabPort")->activated(2);
    EXPECT_EQ(form.choice(ChoiceField::tabPort), 2);

    // Code (the decoder, a dialog) sets values the way the user would; the controls follow.
    form.setText({TextField::tabOUTNazev, 6}, "SVETLO");
    form.setFlag(FlagField::tabINPNeg, 2, true);
    form.setFlag(FlagField::opNotAuthorized, 0, false);
    form.setChoice(ChoiceField::tabKOMUNIKFormat, 1);
    EXPECT_EQ(control<QLineEdit>("tabOUTNazev_6")->text(), "SVETLO");
    EXPECT_TRUE(control<QCheckBox>("tabINPNeg_2")->isChecked());
    EXPECT_FALSE(control("rtNotAuthorized")->isEnabled());
    EXPECT_FALSE(control("txtNotAuthorized")->isEnabled());
    EXPECT_EQ(control<QComboBox>("tabKOMUNIKFormat")->currentText(), "Pulzní");
    EXPECT_TRUE(control("tabKOMUNIKParita")->isEnabled());
    EXPECT_TRUE(control("tabKOMUNIKFrekvence")->isEnabled());

    // Choosing a service centre from the list puts it into the field.
    auto* centre = control<QComboBox>("tabTCcentra");
    centre->setCurrentIndex(1);
    emit centre->textActivated(centre->itemText(1));
    EXPECT_EQ(form.text({TextField::tabTCcentra}), centre->itemText(1).toStdString());
}

TEST_F(WindowTest, AClickIntoAFieldWithoutTheFocusSelectsItsWholeText) {
    form.setText({TextField::tabJmenoStanice}, "Sklad Brno");
    form.setText({TextField::tabTCcentra}, "+420603052000");
    const auto click = [this](QWidget* target, QPoint at) {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, target->mapTo(&window, at));
    };
    struct Case {
        const char* name;
        QLineEdit* edit;
    };
    const Case cases[] = {
        {"tabJmenoStanice", control<QLineEdit>("tabJmenoStanice")},
        {"tabTCcentra", control<QComboBox>("tabTCcentra")->lineEdit()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        focus(control("tabPIN"));
        click(c.edit, c.edit->rect().center());
        EXPECT_TRUE(c.edit->hasFocus());
        EXPECT_EQ(c.edit->selectedText(), c.edit->text());
        // A click into the field that has the focus puts the caret there, for editing.
        click(c.edit, QPoint(4, c.edit->height() / 2));
        EXPECT_FALSE(c.edit->hasSelectedText());
    }
}

TEST_F(WindowTest, AFlagOfARowWithoutANumberIsReportedAndClearedAgain) {
    control<QTabWidget>("TabList")->setCurrentIndex(1);
    boxes.expectBox(test::warningBox(
        "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Příjem' nezaškrtnuté."));
    QTest::mouseClick(control<QCheckBox>("tabTCPrijem_3"), Qt::LeftButton);
    EXPECT_FALSE(control<QCheckBox>("tabTCPrijem_3")->isChecked());
    EXPECT_FALSE(form.flag(FlagField::tabTCPrijem, 3));
}

TEST_F(WindowTest, ACorrectedFieldShowsTheCorrectionAndRecountsTheSize) {
    control<QTabWidget>("TabList")->setCurrentIndex(1);
    typeInto("tabTC_2", "0123456789");
    focus(control("tabTC_3"));
    EXPECT_EQ(control<QLineEdit>("tabTC_2")->text(), "+420123456789");
    EXPECT_EQ(control<QLabel>("lblInfoPamUsage")->text(), "166 byte");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WindowTest, ARefusedFieldKeepsItsTextAndGetsTheFocusBackOnItsTab) {
    struct Case {
        int tab;
        QString field;
        QString text;
        int otherTab;
        QString next;
        std::string message;
        QString right;
    };
    const Case cases[] = {
        {0, "tabPIN", "12a", 0, "tabDobaPlatnostiSMS", "PIN je špatně zadán.", "12"},
        {2, "tabINPNazev_5", "Stav", 2, "tabINPNazev_6",
         "Název vstupu nesmí být žádné z těchto klíčových slov (ani jejich předpony): "
         "STATE;STAV;BACK;NOBACK;RESET;SHUTDOWN;NAME;ZPET;NEZPET;JMENO",
         "STAVBA"},
        // Leaving a field by going to another tab brings the field's tab back.
        {0, "tabDobaPlatnostiSMS", "3a", 3, "tabOUTNazev_0",
         "Doba platnosti SMS zprávy je špatně zadána. Povolené hodnoty jsou '1','2',..,'30'.", "7"},
        // A field without a character set refuses what the unit's code page cannot hold.
        {0, "tabJmenoStanice", "Chata 日本", 2, "tabINPNazev_1",
         "Text obsahuje znak '日' (U+65E5), který nelze uložit do EEPROM. Lze použít pouze znaky kódové "
         "stránky Windows-1250.",
         "Chata Žďár"},
    };
    auto* tabs = control<QTabWidget>("TabList");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field.toStdString());
        tabs->setCurrentIndex(c.tab);
        typeInto(c.field, c.text);
        boxes.expectBox(test::errorBox(c.message));
        tabs->setCurrentIndex(c.otherTab);
        focus(control(c.next));
        auto* field = control<QLineEdit>(c.field);
        EXPECT_EQ(tabs->currentIndex(), c.tab);
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(field->text(), c.text);
        EXPECT_EQ(field->selectedText(), c.text);
        // Put right, the field lets the focus go.
        test::typeKeys(field, c.right);
        focus(control(c.next));
        EXPECT_EQ(QApplication::focusWidget(), control(c.next));
    }
}

TEST_F(WindowTest, AnOnOffClashWithThePartnerFieldIsReportedOnce) {
    control<QTabWidget>("TabList")->setCurrentIndex(2);
    typeInto("tabINPVyp_2", "zap");
    typeInto("tabINPZap_2", "ZAP");
    boxes.expectBox(test::errorBox("Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'."));
    focus(control("tabINPVyp_2"));
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), control("tabINPZap_2"));
    // The partner's own rule ran after the focus came back, and let go of the clash.
    EXPECT_FALSE(form.imageLoading());
}

TEST_F(WindowTest, TwoRefusedFieldsDoNotBounceTheFocusForEver) {
    form.setText({TextField::tabPIN}, "x");
    form.setText({TextField::tabDobaPlatnostiSMS}, "");
    focus(control("tabPIN"));
    boxes.expectBox(test::errorBox("PIN je špatně zadán."));
    boxes.expectBox(
        test::errorBox("Doba platnosti SMS zprávy je špatně zadána. Povolené hodnoty jsou '1','2',..,'30'."));
    focus(control("tabDobaPlatnostiSMS"));
    settle();
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(WindowTest, ADoubleClickOnARowFieldOpensItsDialogButNotOnThePulseFields) {
    auto* tabs = control<QTabWidget>("TabList");
    tabs->setCurrentIndex(2);
    QString title;
    test::whenModalShows([&](QDialog& dialog) { title = dialog.windowTitle(); });
    QTest::mouseDClick(control("tabINPZap_5"), Qt::LeftButton);
    EXPECT_EQ(title, "Vstup I5");

    tabs->setCurrentIndex(3);
    QTest::mouseDClick(control("tabOUTimpuls_3"), Qt::LeftButton);
    QTest::mouseDClick(control("tabOUTimpulsLEN_3"), Qt::LeftButton);
    settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(WindowTest, DeviceCommandsRunThroughTheirSeamOneAtATime) {
    int runs = 0;
    window.commands().saveToUnit = [&] {
        ++runs;
        // A second click while the first command waits for the unit is ignored.
        control<QToolButton>("btEEPROMSave")->click();
    };
    UnitState active;
    active.link = LinkState::Active;
    form.setUnitState(active);
    control<QToolButton>("btEEPROMSave")->click();
    EXPECT_EQ(runs, 1);
}

TEST_F(WindowTest, ExitAsksItsQuestionAndStornoKeepsTheWindow) {
    bool answer = false;
    window.commands().confirmExit = [&](MessageButtons) { return answer; };
    control<QPushButton>("btKonec")->click();
    EXPECT_TRUE(window.isVisible());
    answer = true;
    control<QPushButton>("btKonec")->click();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace orb
