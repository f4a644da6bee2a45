// Faults at every exchange of a small unit's read and write, through the real serial port against the
// simulated unit: after each, the right message, the settings or the unit in a known state, and a new
// activation that works.
#include "image/EncodeImage.h"
#include "link/DeviceLink.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "tests/faults/NamedSettings.h"
#include "tests/support/LinkBoxes.h"
#include "tests/support/OrbsimProcess.h"
#include "tests/support/ScriptedView.h"
#include "tests/support/TestProgress.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <QTemporaryDir>

namespace orb::test {
namespace {

// The start-up settings alone take more than 128 bytes, so the smallest unit they fit is 256 bytes.
constexpr int MemorySize = 256;
constexpr int Blocks = MemorySize / 8;
// Requests 1..5 are hello, identify twice and memory-and-modem twice; the transfer's requests follow.
constexpr int FirstTransferRequest = 6;
// A verified write: block 0 zeroed, two passes, the real block 0, each block written and read back.
constexpr int WriteRequests = 2 * (1 + 2 * Blocks + 1);

const std::string HungUp = "Spojení se zařízením bylo přerušeno: port COM 1 přestal pracovat. Port byl "
                           "uzavřen a spojení je neaktivní.";
// A write that breaks off also says that the unit is left without valid settings.
const std::string WriteHungUp =
    HungUp + "\n\n" + "Zařízení nyní nemá platné nastavení; uložte je do něj znovu.";

/// The settings the unit holds at the start of each case; the form on the screen differs from them.
SettingsRecord UnitSettings() {
    ScriptedView view;
    SettingsForm form(view);
    form.setText({TextField::tabJmenoStanice}, "CHATA");
    form.setText({TextField::tabTC, 0}, "+12345");
    form.setText({TextField::tabINPNazev, 0}, "DVERE");
    form.setText({TextField::rtNotAuthorized}, "PRISTUP ODEPREN"); // the flag travels only with a text
    return form.record();
}

/// One window's link joined to a unit whose EEPROM lives in a file, so a unit that hung up can be
/// started again with what it held.
class FaultCampaignTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.setText({TextField::tabJmenoStanice}, "DOMA");
        form.setText({TextField::rtNotAuthorized}, "PRISTUP ODEPREN");
        screen = form.record();
    }

    /// Gives the unit its own settings again and the screen its own.
    void resetCase() {
        EepromImage unitImage;
        const std::int32_t length = EncodeImage(UnitSettings(), unitImage);
        ASSERT_LE(length, MemorySize);
        std::ofstream file(eepromPath(), std::ios::binary | std::ios::trunc);
        for (std::int32_t i = 0; i < length; ++i)
            file.put(static_cast<char>(unitImage.getByte(i)));
        file.close();
        for (int row = 0; row < RowCount; ++row)
            form.setText({TextField::tabTC, row}, screen.tabTC[static_cast<std::size_t>(row)]);
        form.setText({TextField::tabJmenoStanice}, "DOMA");
        form.setText({TextField::tabINPNazev, 0}, "");
        ASSERT_EQ(Named(form.record()), Named(screen));
        view.boxes.clear();
    }

    std::string eepromPath() const { return dir.filePath("unit.eep").toStdString(); }

    /// Starts the unit with the given faults (and none when the list is empty) and activates it.
    void startAndActivate(const QStringList& faults) {
        if (form.unit().connected()) link.onDeaClicked();
        unit.reset();
        unit.emplace(QStringList{"--memory", QString::number(MemorySize), "--no-pace", "--eeprom",
                                 QString::fromStdString(eepromPath())} +
                     faults);
        view.expectBox(PressButton);
        ASSERT_EQ(link.onDeaClicked(), LinkOutcome::Done);
        ASSERT_EQ(form.unit().link, LinkState::Active);
    }

    /// After a hang-up: the message was shown, the link is inactive with the port closed and no command
    /// running.
    void expectHungUp(const std::string& title, const std::string& text = HungUp) {
        EXPECT_EQ(view.boxes.back(), (Message{title, text, MessageIcon::Critical, MessageButtons::Ok}));
        EXPECT_FALSE(form.unit().connected());
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(progress.shown);
        EXPECT_FALSE(link.busy());
    }

    /// A fresh unit with the EEPROM as the fault left it activates, and reading it gives the message.
    void expectUnitReads(const Message& outcome) {
        startAndActivate({});
        view.expectBox(outcome);
        link.loadFromUnit();
    }

    QTemporaryDir dir;
    std::optional<OrbsimProcess> unit;
    ScriptedView view;
    SettingsForm form{view};
    SettingsRecord screen;
    std::unique_ptr<EepromImage> image = std::make_unique<EepromImage>();
    TestProgress progress;
    QtSerialPort port;
    QtWaiter waiter;
    DeviceLink link{form, *image, progress, progress.stop, port, waiter};
};

TEST_F(FaultCampaignTest, HangUpAtEveryBlockOfAReadKeepsTheSettings) {
    for (int block = 0; block < Blocks; ++block) {
        SCOPED_TRACE(block);
        resetCase();
        startAndActivate({"--hangup-after", QString::number(FirstTransferRequest + block)});
        view.expectBox({LoadTitle, HungUp, MessageIcon::Critical, MessageButtons::Ok});
        link.loadFromUnit();
        expectHungUp(LoadTitle);
        EXPECT_EQ(Named(form.record()), Named(screen));
    }
    expectUnitReads(ReadDone);
    EXPECT_EQ(Named(form.record()), Named(UnitSettings()));
}

TEST_F(FaultCampaignTest, DamagedOrLostReplyAtEveryBlockOfAReadIsRetried) {
    for (const char* fault : {"--corrupt", "--drop", "--long-reply"}) {
        for (int block = 0; block < Blocks; ++block) {
            SCOPED_TRACE(std::string(fault) + " at block " + std::to_string(block));
            resetCase();
            startAndActivate({fault, QString::number(FirstTransferRequest + block)});
            view.expectBox(ReadDone);
            link.loadFromUnit();
            EXPECT_EQ(Named(form.record()), Named(UnitSettings()));
            // At least the one retry the fault needs; a machine too busy to take a reply within its limit
            // adds more, which the link absorbs the same way.
            EXPECT_GE(unit->count("read 0x"), Blocks + 1);
        }
    }
}

TEST_F(FaultCampaignTest, HangUpAtEveryRequestOfAWriteLeavesTheUnitUnprogrammed) {
    for (int request = 0; request < WriteRequests; ++request) {
        SCOPED_TRACE(request);
        resetCase();
        startAndActivate({"--hangup-after", QString::number(FirstTransferRequest + request)});
        view.expectBox({SaveTitle, WriteHungUp, MessageIcon::Critical, MessageButtons::Ok});
        link.saveToUnit();
        expectHungUp(SaveTitle, WriteHungUp);
        EXPECT_EQ(Named(form.record()), Named(screen));
        if (request == 0) { // the zeroing write never arrived: the unit keeps its own settings whole
            expectUnitReads(ReadDone);
            EXPECT_EQ(Named(form.record()), Named(UnitSettings()));
        } else if (request == WriteRequests - 1) { // only the read-back of the real block 0 was lost
            expectUnitReads(ReadDone);
            EXPECT_EQ(Named(form.record()), Named(screen));
        } else {
            expectUnitReads(NotProgrammed);
        }
    }
}

TEST_F(FaultCampaignTest, DamagedOrLostReplyAtEveryRequestOfAWriteIsRetried) {
    for (const char* fault : {"--corrupt", "--drop", "--long-reply"}) {
        for (int request = 0; request < WriteRequests; ++request) {
            SCOPED_TRACE(std::string(fault) + " at request " + std::to_string(request));
            resetCase();
            startAndActivate({fault, QString::number(FirstTransferRequest + request)});
            view.expectBox(WriteDone);
            link.saveToUnit();
            EXPECT_GE(unit->count("write 0x") + unit->count("read 0x"), WriteRequests + 1); // as for a read
            expectUnitReads(ReadDone);
            EXPECT_EQ(Named(form.record()), Named(screen));
        }
    }
}

// A reply too long for any request is no reply: the hello is repeated until one is answered, and the
// identity and memory size are asked for again.
TEST_F(FaultCampaignTest, OverlongReplyDuringActivationIsAskedForAgainAndTheUnitActivates) {
    for (const int reply : {1, 2, 3, 4}) { // hello, identify and its second ask, memory-and-modem
        SCOPED_TRACE(reply);
        resetCase();
        unit.emplace(QStringList{"--memory", QString::number(MemorySize), "--no-pace", "--long-reply",
                                 QString::number(reply)});
        view.expectBox(PressButton);
        EXPECT_EQ(link.onDeaClicked(), LinkOutcome::Done);
        EXPECT_EQ(form.unit().link, LinkState::Active);
        EXPECT_EQ(form.display().lblInfoProdukt, "ORB");
        link.onDeaClicked();
        EXPECT_FALSE(port.isOpen());
    }
}

} // namespace
} // namespace orb::test
