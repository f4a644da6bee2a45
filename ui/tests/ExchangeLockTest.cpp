// While the window exchanges data with the unit, the settings it sends or receives cannot be edited, and
// the commands it would ignore look so.
#include "image/EncodeImage.h"
#include "link/RequestCodes.h"
#include "ui/tests/WindowWithUnit.h"

#include <QCheckBox>
#include <QTabWidget>

namespace orb {
namespace {

class ExchangeLockTest : public test::WindowWithUnit {
  protected:
    /// Tries to edit the settings as the user would at the first request with the given code, and notes
    /// which tab pages took no input.
    void tryEditsAt(RequestCode code) {
        unit.onRequest = [this, code](const test::FakeUnit::Request& request) {
            if (request.code() != static_cast<std::uint8_t>(code) || tried) return;
            tried = true;
            auto* tabs = control<QTabWidget>("TabList");
            for (int page = 0; page < tabs->count(); ++page)
                lockedPages += tabs->widget(page)->isEnabled() ? 0 : 1;
            for (const char* name : Commands)
                if (control(name)->isEnabled()) commandsEnabledDuring << name;
            QTest::keyClicks(control("tabPIN"), "99");
            QTest::mouseClick(control("tabOdpovidatT0"), Qt::LeftButton);
            press("tabTCZmenit_0");
        };
    }

    /// The bytes the unit holds where the window's settings would be written.
    bool unitHoldsTheWindowsSettings() const {
        EepromImage written;
        const int length = EncodeImage(form.record(), written);
        for (int i = 0; i < length; ++i)
            if (unit.eeprom.at(i) != written.getByte(i)) return false;
        return true;
    }

    /// The controls whose clicks an exchange ignores: they look so while it runs.
    static constexpr const char* Commands[] = {"tabPort",      "btDEA",        "btFileLoad", "btFileSave",
                                               "btEEPROMLoad", "btEEPROMSave", "CheckWrite", "btTisk",
                                               "btInformace",  "btKonec"};

    void expectCommandsGreyedOnlyDuringTheExchange() {
        EXPECT_TRUE(commandsEnabledDuring.isEmpty()) << commandsEnabledDuring.join(", ").toStdString();
        for (const char* name : Commands)
            EXPECT_EQ(control(name)->isEnabled(), std::string_view(name) != "tabPort") << name;
    }

    bool tried = false;
    int lockedPages = 0;
    QStringList commandsEnabledDuring;
};

TEST_F(ExchangeLockTest, AWriteSendsWhatTheWindowShowsAndLeavesEveryControlAsItWas) {
    QTest::mouseClick(control("opNotAuthorized"), Qt::LeftButton); // greys its text field out
    ASSERT_FALSE(control("rtNotAuthorized")->isEnabled());
    typeInto("tabPIN", "1234");

    tryEditsAt(RequestCode::WriteBlock);
    boxes.expectBox(test::WriteDone);
    press("btEEPROMSave"); // as its key would, leaving the focus in the field
    ASSERT_TRUE(tried);
    EXPECT_EQ(lockedPages, 4);
    EXPECT_EQ(form.text({TextField::tabPIN}), "1234");
    EXPECT_FALSE(form.flag(FlagField::tabOdpovidatT0));
    EXPECT_TRUE(unitHoldsTheWindowsSettings());

    for (const char* name : {"tabPIN", "tabOdpovidatT0", "opNotAuthorized", "tabTC_0", "tabTCZmenit_0"})
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    EXPECT_FALSE(control("rtNotAuthorized")->isEnabled());
    EXPECT_EQ(control<QLineEdit>("tabPIN")->text(), "1234");
    EXPECT_EQ(QApplication::focusWidget(), control("tabPIN"));
    expectCommandsGreyedOnlyDuringTheExchange();
}

TEST_F(ExchangeLockTest, AWriteRefusedForItsOutputNamesLeavesTheFocusInTheNameOnceThePagesTakeInputAgain) {
    form.setText({TextField::tabOUTNazev, 1}, "SVETLO");
    form.setText({TextField::tabOUTNazev, 4}, "SVETLO2");
    boxes.expectBox(
        {"ORB - Ukládání dat z PC do EEPROM",
         "Název výstupu 'O1' není správně zadán. Jména výstupů se nesmějí shodovat a ani být "
         "předponou jiného názvu výstupu. EEPROM nelze naprogramovat dokud toto nebude odstraněno.",
         MessageIcon::Critical, MessageButtons::Ok});
    click("btEEPROMSave");
    EXPECT_TRUE(unit.requestsOf(static_cast<std::uint8_t>(RequestCode::WriteBlock)).empty());
    EXPECT_EQ(control<QTabWidget>("TabList")->currentIndex(), 3);
    EXPECT_EQ(QApplication::focusWidget(), control("tabOUTNazev_1"));
}

TEST_F(ExchangeLockTest, AReadFillsTheWindowWithoutTheUsersEditsInBetween) {
    SettingsRecord held = form.record();
    held.tabPIN = "4321";
    unit.holdSettings(held);

    tryEditsAt(RequestCode::ReadBlock);
    boxes.expectBox(test::ReadDone);
    click("btEEPROMLoad");
    ASSERT_TRUE(tried);
    EXPECT_EQ(lockedPages, 4);
    EXPECT_EQ(form.text({TextField::tabPIN}), "4321");
    EXPECT_FALSE(form.flag(FlagField::tabOdpovidatT0));
    EXPECT_EQ(control<QLineEdit>("tabPIN")->text(), "4321");
    EXPECT_TRUE(control("tabPIN")->isEnabled());
    expectCommandsGreyedOnlyDuringTheExchange();
}

} // namespace
} // namespace orb
