// The device link through the real QSerialPort and event loop, against the simulated unit on a pty.
#include "image/EncodeImage.h"
#include "link/DeviceLink.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "tests/support/LinkBoxes.h"
#include "tests/support/OrbsimProcess.h"
#include "tests/support/ScriptedView.h"
#include "tests/support/TestProgress.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <unistd.h>

namespace orb::test {
namespace {

const Message DeactivationQuestion =
    Box("Deaktivace spojení",
        "Při deaktivaci spojení došlo k chybě. Zařízení je zřejmě stále v programovacím módu. Mám přesto "
        "přejít do 'Neaktivního stavu'?",
        MessageIcon::Critical, MessageButtons::YesNo);
const std::string ZeroBlock0 = "write 0x0000 = 00 00 00 00 00 00 00 00";
constexpr TextRef Station{TextField::tabJmenoStanice};

/// Every setting of the form by name ("tabTC 0"), the options beside the record left out.
std::map<std::string, std::string> Settings(const SettingsForm& form) {
    std::map<std::string, std::string> settings;
    auto rows = [](bool isRow) { return isRow ? RowCount : 1; };
    for (const TextField field : AllTextFields)
        for (int row = 0; row < rows(isRowField(field)) && field != TextField::tabUTO; ++row)
            settings[std::string(fieldName(field)) + " " + std::to_string(row)] = form.text({field, row});
    for (const FlagField field : AllFlagFields)
        for (int row = 0; row < rows(isRowField(field)) && field != FlagField::CheckWrite; ++row)
            settings[std::string(fieldName(field)) + " " + std::to_string(row)] =
                form.flag(field, row) ? "1" : "0";
    for (const ChoiceField field : AllChoiceFields)
        if (field != ChoiceField::tabPort)
            settings[std::string(fieldName(field))] = std::to_string(form.choice(field));
    return settings;
}

/// One window's worth of link: form, image, progress and the real port, joined to a fresh simulated unit.
class EndToEndTest : public ::testing::Test {
  protected:
    void startUnit(const QStringList& options) { unit.emplace(options); }

    /// Activates the unit, expecting only the notice that asks for the button.
    void activate() {
        view.expectBox(PressButton);
        link.onDeaClicked();
        ASSERT_EQ(form.display().tabDeAktivNapis, "Aktivní");
    }

    std::optional<OrbsimProcess> unit;
    ScriptedView view;
    SettingsForm form{view};
    std::unique_ptr<EepromImage> image = std::make_unique<EepromImage>();
    TestProgress progress;
    QtSerialPort port;
    QtWaiter waiter;
    DeviceLink link{form, *image, progress, progress.stop, port, waiter};
};

TEST_F(EndToEndTest, OrbBecomesActiveWithoutFurtherMessages) {
    startUnit({"--memory", "2048", "--modem", "2"});
    activate();
    EXPECT_EQ(form.display().lblInfoProdukt, "ORB");
    EXPECT_EQ(form.display().lblInfoVerze, "1.2");
    EXPECT_EQ(form.display().lblInfoPamSize, "  2048 byte");
    EXPECT_EQ(form.display().lblInfoModem, "A1 Siemens");
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(unit->requests(), (std::vector<std::string>{"hello", "identify", "identify", "memory-and-modem",
                                                          "memory-and-modem"}));

    link.onDeaClicked();
    EXPECT_EQ(form.display().btDEA, "Aktivovat");
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(unit->requests().back(), "deactivate");
}

TEST_F(EndToEndTest, PortThatIsMissingOrInUseIsNamed) {
    startUnit({});
    {
        // A second program on the same port: the port is locked while the first one holds it.
        ScriptedView otherView;
        SettingsForm otherForm(otherView);
        TestProgress otherProgress;
        QtSerialPort otherPort;
        DeviceLink other(otherForm, *image, otherProgress, otherProgress.stop, otherPort, waiter);
        otherView.expectBox(PressButton);
        other.onDeaClicked();
        ASSERT_TRUE(otherPort.isOpen());
        view.expectBox(Box("Otevírání portu",
                           "Nelze otevřít port COM 1.\n\nPort COM 1 (" + std::string(getenv("ORB_COM1")) +
                               ") právě používá jiný program.",
                           MessageIcon::Critical));
        link.onDeaClicked();
        EXPECT_FALSE(port.isOpen());
    }
    setenv("ORB_COM2", "/dev/orb-no-such-port", 1);
    form.setChoice(ChoiceField::tabPort, 1);
    view.expectBox(Box("Otevírání portu",
                       "Nelze otevřít port COM 2.\n\nZařízení /dev/orb-no-such-port neexistuje.",
                       MessageIcon::Critical));
    link.onDeaClicked();
    unsetenv("ORB_COM2");
    EXPECT_EQ(form.display().btDEA, "Aktivovat");
    EXPECT_TRUE(progress.events.empty());
}

TEST(QtSerialPortTest, PathThatIsNoSerialPortIsToldApart) {
    QTemporaryDir folder;
    const std::string file = folder.filePath("nastaveni.eep").toStdString();
    std::ofstream(file) << "x";
    const std::string missing = folder.filePath("ttyUSB9").toStdString();
    const std::string loop = folder.filePath("loop").toStdString();
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    const std::pair<std::string, OpenFailure> cases[] = {
        {missing, OpenFailure::Missing},     {file + "/ttyS0", OpenFailure::Missing},
        {loop, OpenFailure::Missing},        {folder.path().toStdString(), OpenFailure::NotASerialPort},
        {file, OpenFailure::NotASerialPort}, {"/dev/null", OpenFailure::NotASerialPort},
    };
    for (const auto& [device, failure] : cases) {
        QtSerialPort port;
        EXPECT_FALSE(port.open(device));
        EXPECT_EQ(port.openFailure(), failure) << device;
    }
}

struct Refusal {
    QStringList options;
    std::string text;
};

TEST_F(EndToEndTest, OtherProductsAndOldFirmwareAreRefused) {
    const std::string tooOld =
        "Touto verzí programu lze naprogramovat pouze zařízení s procesorem verze 1.2 a vyšší.";
    const Refusal cases[] = {
        {{"--product", "ORBTONE", "--version", "1.1"}, tooOld},
        {{"--version", "1.10"}, tooOld},
        {{"--product", "TAL"}, "Touto verzí programu lze naprogramovat pouze zařízení ORB."},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        startUnit(c.options);
        view.expectBox(PressButton);
        view.expectBox(Box("ORB - Aktivace spojení", c.text, MessageIcon::Critical));
        link.onDeaClicked();
        EXPECT_EQ(form.display().tabDeAktivNapis, "Chybné zařízení");
        EXPECT_FALSE(form.display().btEEPROMLoadEnabled);
        EXPECT_TRUE(port.isOpen());
        link.onDeaClicked();
        EXPECT_FALSE(port.isOpen());
    }
}

TEST_F(EndToEndTest, UnknownUnitMayBeProgrammedAfterANotice) {
    startUnit({"--product", "1"});
    view.expectBox(PressButton);
    view.expectBox(Box("ORB - Aktivace spojení",
                       "Připojené zařízení není známo. Je sice povoleno ho naprogramovat, ale za způsobené "
                       "chyby není ručeno.",
                       MessageIcon::Information));
    link.onDeaClicked();
    EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
    EXPECT_EQ(form.display().lblInfoProdukt, "?");
}

TEST_F(EndToEndTest, UnitSwitchedOnLateIsFoundByTheNextHello) {
    startUnit({"--silent-hellos", "2"});
    QElapsedTimer clock;
    clock.start();
    activate();
    EXPECT_EQ(unit->count("hello"), 3);
    EXPECT_GE(clock.elapsed(), 1000);
}

TEST_F(EndToEndTest, StornoInTheHelloLoopEndsInactive) {
    startUnit({"--silent"});
    QTimer::singleShot(1200, [this] { progress.cancel(); });
    view.expectBox(PressButton);
    view.expectBox(
        Box("Aktivace spojení", "Při pokusu aktivovat spojení nastala chyba.", MessageIcon::Critical));
    QElapsedTimer clock;
    clock.start();
    link.onDeaClicked();
    EXPECT_LT(clock.elapsed(), 1900); // the hello in hand runs out, no further one is sent
    EXPECT_EQ(unit->count("hello"), 3);
    EXPECT_EQ(form.display().tabDeAktivNapis, "Neaktivní");
    EXPECT_FALSE(port.isOpen());
}

TEST_F(EndToEndTest, NeverProgrammedUnitIsReadWithOneRequestPerBlock) {
    startUnit({"--memory", "128"});
    activate();
    view.expectBox(NotProgrammed);
    link.loadFromUnit();
    EXPECT_EQ(unit->count("read 0x"), 16);
    EXPECT_EQ(unit->requests()[5], "read 0x0000");
    // One identify request closes the read: its reply proves every block reply came in step.
    const auto requests = unit->requests();
    EXPECT_EQ(requests.back(), "identify");
    EXPECT_EQ(requests[requests.size() - 2], "read 0x0078");
}

TEST_F(EndToEndTest, WriteSendsBlockZeroFourTimesAndWithoutReadBackReadsBackOnlyTheHeader) {
    for (const bool checkWrite : {true, false}) {
        SCOPED_TRACE(checkWrite);
        startUnit({"--memory", "256"});
        form.setFlag(FlagField::CheckWrite, 0, checkWrite);
        activate();
        view.expectBox(WriteDone);
        link.saveToUnit();

        EXPECT_EQ(unit->count("write 0x0000"), 4);
        EXPECT_EQ(unit->count(ZeroBlock0), 3);
        std::vector<std::string> writes;
        for (const std::string& r : unit->requests())
            if (r.starts_with("write 0x")) writes.push_back(r);
        EXPECT_EQ(writes.back().substr(0, 12), "write 0x0000");
        EXPECT_NE(writes.back(), ZeroBlock0);
        EXPECT_EQ(unit->count("write 0x0008"), 2);
        EXPECT_EQ(unit->count("write 0x00F8"), 2);
        EXPECT_EQ(unit->count("write 0x"), 2 * 32 + 2);
        EXPECT_EQ(unit->count("read 0x"), checkWrite ? 2 * 32 + 2 : 1);
        if (!checkWrite) {
            EXPECT_EQ(unit->requests().at(unit->requests().size() - 2), "read 0x0000");
        }
        link.onDeaClicked();
    }
}

TEST_F(EndToEndTest, WrittenSettingsReadBackDespiteLostAndDamagedReplies) {
    startUnit({"--memory", "256", "--drop", "12", "--corrupt", "42", "--garbage-reply", "92", "--long-reply",
               "122"});
    activate();
    form.setText(Station, "CHATA");
    form.setText({TextField::tabTC, 0}, "+12345");
    form.setText({TextField::tabINPNazev, 0}, "A1");
    form.setText({TextField::rtNotAuthorized}, "PRISTUP ODEPREN"); // the flag travels only with a text
    const auto written = Settings(form);
    view.expectBox(WriteDone);
    link.saveToUnit();

    form.setText(Station, "DOMA");
    form.setText({TextField::tabTC, 0}, "");
    form.setText({TextField::tabINPNazev, 0}, "");
    view.expectBox(ReadDone);
    link.loadFromUnit();
    EXPECT_EQ(Settings(form), written);
    EXPECT_GT(unit->count("write 0x") + unit->count("read 0x"), 2 * 66 + 32); // some were retried
}

struct ReplyTiming {
    const char* name;
    QStringList faults; ///< on reply 11, the first attempt at block 5 of a read
    bool retried;
};

TEST_F(EndToEndTest, PacedReadGetsExactlyTheUnitsBytesWhateverTheReplyTiming) {
    // The unit holds settings; bytes beyond them read as erased.
    form.setText(Station, "CHATA");
    form.setText({TextField::rtNotAuthorized}, "PRISTUP ODEPREN");
    EepromImage held;
    const std::int32_t length = EncodeImage(form.record(), held);
    QTemporaryDir dir;
    const QString file = dir.filePath("unit.eep");
    {
        std::ofstream out(file.toStdString(), std::ios::binary);
        for (std::int32_t i = 0; i < length; ++i)
            out.put(static_cast<char>(held.getByte(i)));
    }
    std::vector<std::uint8_t> expected(256, 0xFF);
    for (std::int32_t i = 0; i < length; ++i)
        expected[static_cast<std::size_t>(i)] = held.getByte(i);
    form.setText(Station, "DOMA");

    // A block read waits 100 ms for its first reply; a reply takes about 14 ms on the wire.
    const ReplyTiming cases[] = {
        {"late by 10 ms past the limit", {"--late", "11:96"}, true},
        {"late by 150 ms past the limit", {"--late", "11:236"}, true},
        {"late by 1000 ms past the limit", {"--late", "11:1086"}, true},
        {"five queued retries answered after a long delay", {"--late", "11:1700"}, true},
        {"doubled: the reply too many is found at the end, and the memory read again",
         {"--double", "11"},
         true},
        {"overlong at the wire's pace", {"--long-reply", "11"}, true},
        {"in three bursts", {"--split", "11:20"}, false},
        {"noise in front", {"--noise", "11"}, true},
    };
    for (const ReplyTiming& c : cases) {
        SCOPED_TRACE(c.name);
        startUnit(QStringList{"--memory", "256", "--eeprom", file} + c.faults);
        activate();
        for (int i = 0; i < 256; ++i)
            image->putByte(i, 0);
        view.expectBox(ReadDone);
        link.loadFromUnit();
        std::vector<std::uint8_t> read(256);
        for (int i = 0; i < 256; ++i)
            read[static_cast<std::size_t>(i)] = image->getByte(i);
        EXPECT_EQ(read, expected);
        EXPECT_EQ(form.text(Station), "CHATA");
        EXPECT_EQ(unit->count("read 0x0028") > 1, c.retried);
        link.onDeaClicked();
        form.setText(Station, "DOMA");
    }
}

TEST_F(EndToEndTest, HelloAnsweredJustAfterItsLimitActivates) {
    // The hello's reply comes 20 ms after its 500 ms limit, while the second hello waits.
    startUnit({"--product", "ORBTONE", "--memory", "512", "--late", "1:517"});
    activate();
    EXPECT_EQ(form.display().lblInfoProdukt, "ORBTONE");
    EXPECT_EQ(form.display().lblInfoPamSize, "   512 byte");
    EXPECT_EQ(unit->count("hello"), 2);
}

TEST_F(EndToEndTest, BlockThatNeverReadsBackEndsTheWriteWithItsMessage) {
    startUnit({"--memory", "256", "--bad-block", "0x0040"});
    activate();
    view.expectBox(
        Box(SaveTitle,
            "Data nebyla úspěšně uložena do EEPROM. Došlo k chybě při ukládání bloku do EEPROM.\n\n"
            "Zařízení nyní nemá platné nastavení; uložte je do něj znovu.",
            MessageIcon::Critical));
    link.saveToUnit();
    EXPECT_EQ(unit->count("read 0x0040"), 9);
    EXPECT_EQ(unit->count("write 0x0048"), 0);
    EXPECT_FALSE(progress.shown);
    EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
}

TEST_F(EndToEndTest, StornoEndsReadAndWriteAndLeavesTheUnitUnprogrammed) {
    startUnit({"--memory", "256"});
    activate();
    progress.stornoAtBlock = 5;
    view.expectBox(Box(LoadTitle, "Načtítání dat z EEPROM do PC bylo stornováno.", MessageIcon::Information));
    link.loadFromUnit();
    EXPECT_EQ(unit->count("read 0x"), 5);

    // Storno after the fifth block: the next block is written, then the write ends.
    view.expectBox(Box(SaveTitle,
                       "Ukládání dat z PC do EEPROM bylo stornováno.\n\nZařízení nyní nemá platné nastavení; "
                       "uložte je do něj znovu.",
                       MessageIcon::Information));
    link.saveToUnit();
    EXPECT_EQ(unit->count("write 0x"), 6);

    progress.stornoAtBlock = 0;
    view.expectBox(NotProgrammed);
    link.loadFromUnit();
}

TEST_F(EndToEndTest, UnitHangingUpDuringAWriteEndsItInactive) {
    startUnit({"--memory", "2048", "--hangup-after", "42"});
    activate();
    view.expectBox(
        Box(SaveTitle,
            "Spojení se zařízením bylo přerušeno: port COM 1 přestal pracovat. Port byl uzavřen a "
            "spojení je neaktivní.\n\nZařízení nyní nemá platné nastavení; uložte je do něj znovu.",
            MessageIcon::Critical));
    link.saveToUnit();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(form.display().tabDeAktivNapis, "Neaktivní");
    EXPECT_EQ(form.display().btDEA, "Aktivovat");
    EXPECT_FALSE(progress.shown);
    EXPECT_FALSE(link.busy());
}

TEST_F(EndToEndTest, DeactivationWithoutReplyLeavesTheChoiceToTheUser) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(answer == Answer::Yes ? "Yes" : "No");
        startUnit({"--drop", "6"});
        activate();
        view.expectBox(DeactivationQuestion, answer);
        link.onDeaClicked();
        EXPECT_EQ(form.display().btDEA, answer == Answer::Yes ? "Aktivovat" : "Deaktivovat");
        EXPECT_EQ(port.isOpen(), answer == Answer::No);
        if (answer == Answer::No) {
            link.onDeaClicked(); // the unit answers this time
            EXPECT_EQ(form.display().btDEA, "Aktivovat");
            EXPECT_FALSE(port.isOpen());
        }
        EXPECT_EQ(unit->count("deactivate"), answer == Answer::Yes ? 1 : 2);
    }
}

} // namespace
} // namespace orb::test
