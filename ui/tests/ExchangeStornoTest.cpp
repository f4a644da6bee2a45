// Storno of the progress window, or Esc, during an exchange with the unit: a write asks first, since the
// unit holds no valid settings once a write stops half-way; a read stops at once.
#include "link/RequestCodes.h"
#include "ui/tests/WindowWithUnit.h"

#include <QPushButton>

namespace orb {
namespace {

using test::focus;
using test::LoadTitle;
using test::SaveTitle;

const Message WriteStopQuestion{
    SaveTitle, "Zápis ještě neskončil. Opravdu přerušit? Zařízení pak nebude mít platné nastavení.",
    MessageIcon::Exclamation, MessageButtons::YesNo, Answer::No};
const Message WriteCancelled{SaveTitle,
                             "Ukládání dat z PC do EEPROM bylo stornováno.\n\nZařízení nyní nemá platné "
                             "nastavení; uložte je do něj znovu.",
                             MessageIcon::Information, MessageButtons::Ok};
const Message ReadCancelled{LoadTitle, "Načtítání dat z EEPROM do PC bylo stornováno.",
                            MessageIcon::Information, MessageButtons::Ok};

enum class Stop { StornoButton, EscapeKey };

class ExchangeStornoTest : public test::WindowWithUnit, public ::testing::WithParamInterface<Stop> {
  protected:
    /// Stops the exchange as the user would, at the fifth request of that code.
    void stopAt(RequestCode code) {
        unit.onRequest = [this, code](const test::FakeUnit::Request& request) {
            if (request.code() != static_cast<std::uint8_t>(code) || ++seen != 5) return;
            if (GetParam() == Stop::StornoButton)
                window.findChild<QWidget*>("Info")->findChild<QPushButton*>("Storno")->click();
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        };
    }

    int writes() const { return static_cast<int>(unit.requestsOf(0x05).size()); }

    int seen = 0;
};

TEST_P(ExchangeStornoTest, AWriteGoesOnWhenTheUserSaysNo) {
    focus(control("tabPIN"));
    stopAt(RequestCode::WriteBlock);
    boxes.expectBox(WriteStopQuestion, Answer::No);
    boxes.expectBox(test::WriteDone);
    press("btEEPROMSave");
    EXPECT_GT(writes(), 20);
    EXPECT_FALSE(window.stop().reason().has_value());
}

TEST_P(ExchangeStornoTest, AWriteStopsWhenTheUserSaysYes) {
    focus(control("tabPIN"));
    stopAt(RequestCode::WriteBlock);
    boxes.expectBox(WriteStopQuestion, Answer::Yes);
    boxes.expectBox(WriteCancelled);
    press("btEEPROMSave");
    EXPECT_LE(writes(), 6);
}

TEST_P(ExchangeStornoTest, AReadStopsAtOnce) {
    focus(control("tabPIN"));
    stopAt(RequestCode::ReadBlock);
    boxes.expectBox(ReadCancelled);
    press("btEEPROMLoad");
    EXPECT_LE(unit.requestsOf(0x04).size(), 6U);
}

INSTANTIATE_TEST_SUITE_P(StornoAndEsc, ExchangeStornoTest,
                         ::testing::Values(Stop::StornoButton, Stop::EscapeKey), [](const auto& info) {
                             return info.param == Stop::StornoButton ? "StornoButton" : "EscapeKey";
                         });

} // namespace
} // namespace orb
