// Reading the configuration from the unit and writing it into the unit, with every check and message.
#include "link/UnitTransfer.h"

#include "image/EncodeImage.h"
#include "link/session/UnitSession.h"
#include "link/tests/LinkFixture.h"
#include "settings/OutputWordsRule.h"

#include <functional>

namespace orb::test {
namespace {

const std::string SizeUnknown = "Velikost paměti připojeného zařízení není známa. Data nelze přenést.";

constexpr TextRef Station{TextField::tabJmenoStanice};

/// Puts into the unit the 166-byte image of a configuration with the station name CHATA and T0 +12345.
void ProgramUnit(FakeUnit& unit) {
    SettingsRecord record;
    record.tabJmenoStanice = "CHATA";
    record.tabTC[0] = "+12345";
    unit.holdSettings(record);
}

class UnitTransferTest : public LinkTest {
  protected:
    void programUnit() { ProgramUnit(unit); }

    /// Activates a 2,048-byte unit.
    void activate2048() {
        unit.memoryCode = 4;
        activate();
    }
};

TEST_F(UnitTransferTest, LoadDecodesAProgrammedUnitIntoTheForm) {
    programUnit();
    activate2048();
    view.expectBox(ReadDone);
    link.loadFromUnit();

    EXPECT_EQ(form.text(Station), "CHATA");
    EXPECT_EQ(form.text({TextField::tabTC, 0}), "+12345");
    EXPECT_EQ(unit.requestsOf(0x04).size(), 256u);
    EXPECT_EQ(view.events, (std::vector<std::string>{"tab 0", "box " + ReadDone.text}));
    EXPECT_EQ(progress.events, (std::vector<std::string>{"show Načítám data z EEPROM do PC. [Storno]", "hide",
                                                         "show Převádím data ...", "hide"}));
    EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
}

TEST_F(UnitTransferTest, LoadThatCannotBeDecodedShowsOnlyTheDecodersBox) {
    programUnit();
    SpoilSettings(unit);
    activate2048();
    view.expectBox(Box("ORB - překlad dat", "Neznámá chyba při překladu dat.", MessageIcon::Critical));
    link.loadFromUnit();

    EXPECT_EQ(form.text(Station), "");
    EXPECT_EQ(view.events, (std::vector<std::string>{"tab 0", "box Neznámá chyba při překladu dat."}));
}

struct FailedLoad {
    const char* name;
    std::function<void(FakeUnit&, TestProgress&)> arrange;
    Message box;
    ReadCheck check = ReadCheck::Once;
};

TEST_F(UnitTransferTest, LoadThatDoesNotGetAnImageLeavesTheFormAlone) {
    const FailedLoad cases[] = {
        {"never programmed", [](FakeUnit&, TestProgress&) {}, NotProgrammed},
        // The header holds, but the texts lie beyond the 128 bytes read: the buffer's old bytes are no
        // part of this unit.
        {"image longer than the memory", [](FakeUnit& u, TestProgress&) { ProgramUnit(u); }, NotProgrammed},
        {"retries ran out",
         [](FakeUnit& u, TestProgress&) {
             u.ignore = [](const FakeUnit::Request& r) { return r.address() == 16; };
         },
         Box(LoadTitle, "Data nebyla úspěšně načtena z EEPROM. Došlo k chybě při načítání bloku dat.",
             MessageIcon::Critical)},
        {"Storno",
         [](FakeUnit& u, TestProgress& p) {
             u.onRequest = [&p](const FakeUnit::Request& r) {
                 if (r.address() == 64) p.cancel();
             };
         },
         Box(LoadTitle, "Načtítání dat z EEPROM do PC bylo stornováno.", MessageIcon::Information)},
        {"read twice, blocks 16 and 24 never the same",
         [](FakeUnit& u, TestProgress&) {
             u.replaceReply = [](const FakeUnit::Request& r) -> std::optional<Bytes> {
                 if (r.address() != 16 && r.address() != 24) return std::nullopt;
                 Bytes reply{0x84};
                 for (int k = 0; k < 16; ++k)
                     reply.push_back(static_cast<std::uint8_t>('0' + r.index % 10));
                 reply.push_back(FrameChecksum(reply));
                 reply.push_back(0x0D);
                 return reply;
             };
         },
         Box(LoadTitle,
             "Data nebyla úspěšně načtena z EEPROM. Opakovaná čtení se neshodla u bloků na adresách 16, 24.",
             MessageIcon::Critical),
         ReadCheck::Twice},
    };
    for (const FailedLoad& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedView caseView;
        SettingsForm caseForm(caseView);
        TestProgress caseProgress;
        FakeLine caseLine;
        FakeUnit caseUnit(caseLine);
        DeviceLink caseLink(caseForm, image, caseProgress, caseProgress.stop, caseLine, caseLine);
        caseView.expectBox(PressButton);
        caseLink.onDeaClicked();
        caseForm.setText(Station, "DOMA");
        c.arrange(caseUnit, caseProgress);

        caseView.expectBox(c.box);
        caseLink.loadFromUnit(TransferScope::WholeMemory, c.check);

        EXPECT_EQ(caseForm.text(Station), "DOMA");
        EXPECT_EQ(caseView.events.back(), "box " + c.box.text); // no tab was brought forward
        EXPECT_FALSE(caseProgress.shown);
    }
}

TEST_F(UnitTransferTest, SaveWritesTheEncodedSettingsAndReadsBackTheSame) {
    activate2048();
    form.setText(Station, "CHATA");
    form.setText({TextField::tabTC, 0}, "+12345");
    view.expectBox(WriteDone);
    link.saveToUnit();

    EXPECT_EQ(unit.requestsOf(0x05).size(), 514u);
    EXPECT_EQ(unit.requestsOf(0x04).size(), 514u);
    auto encoded = std::make_unique<EepromImage>();
    const int length = EncodeImage(form.record(), *encoded);
    for (int i = 0; i < length; ++i)
        ASSERT_EQ(unit.eeprom[i], encoded->getByte(i)) << i;
    EXPECT_EQ(progress.events,
              (std::vector<std::string>{"show Ukládám data z PC do EEPROM. [Storno]", "hide"}));

    form.setText(Station, "DOMA");
    form.setText({TextField::tabTC, 0}, "");
    view.expectBox(ReadDone);
    link.loadFromUnit();
    EXPECT_EQ(form.text(Station), "CHATA");
    EXPECT_EQ(form.text({TextField::tabTC, 0}), "+12345");
}

TEST_F(UnitTransferTest, SaveOfSettingsExactlyAsLargeAsTheMemoryIsWritten) {
    activate2048();
    form.setText(Station, std::string(1898, 'A'));
    ASSERT_EQ(form.display().lblInfoPamUsage, "2048 byte");
    view.expectBox(WriteDone);
    link.saveToUnit();
    EXPECT_EQ(unit.requestsOf(0x05).size(), 514u);
}

struct RefusedSave {
    const char* name;
    std::function<void(SettingsForm&)> arrange;
    std::function<Message(const SettingsForm&)> box;
};

TEST_F(UnitTransferTest, SaveThatIsRefusedSendsNothing) {
    const RefusedSave cases[] = {
        {"settings one byte too large", [](SettingsForm& f) { f.setText(Station, std::string(1899, 'A')); },
         [](const SettingsForm&) {
             return Box(
                 SaveTitle,
                 "Velikost dat v nastavení (2049 byte) je větší než je možno vložit do EEPROM (  2048 byte).",
                 MessageIcon::Critical);
         }},
        {"an output name that begins another",
         [](SettingsForm& f) {
             f.setText({TextField::tabOUTNazev, 0}, "SVETLO");
             f.setText({TextField::tabOUTNazev, 1}, "SV");
         },
         [](const SettingsForm& f) {
             return Box(SaveTitle, FindOutputWordsViolation(f.record()).value().message,
                        MessageIcon::Critical);
         }},
        {"a value the image cannot hold",
         [](SettingsForm& f) { f.setText({TextField::tabDobaPlatnostiSMS}, "abc"); },
         [](const SettingsForm&) {
             return Box(
                 SaveTitle,
                 "Data nebyla úspěšně uložena do EEPROM. Nastavení obsahuje hodnotu, kterou nelze převést.",
                 MessageIcon::Critical);
         }},
    };
    for (const RefusedSave& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedView caseView;
        SettingsForm caseForm(caseView);
        FakeLine caseLine;
        FakeUnit caseUnit(caseLine);
        DeviceLink caseLink(caseForm, image, progress, progress.stop, caseLine, caseLine);
        caseUnit.memoryCode = 4;
        caseView.expectBox(PressButton);
        caseLink.onDeaClicked();
        caseUnit.requests.clear();
        c.arrange(caseForm);

        caseView.expectBox(c.box(caseForm));
        caseLink.saveToUnit();

        EXPECT_TRUE(caseUnit.requests.empty());
    }
}

TEST_F(UnitTransferTest, OutputWordsRefusalShowsTheOutputsTab) {
    activate2048();
    form.setText({TextField::tabOUTNazev, 0}, "SVETLO");
    form.setText({TextField::tabOUTNazev, 4}, "SV");
    const auto violation = FindOutputWordsViolation(form.record()).value();
    EXPECT_EQ(violation.field, (TextRef{TextField::tabOUTNazev, 4})); // the shorter name is refused
    view.expectBox(Box(SaveTitle, violation.message, MessageIcon::Critical));
    link.saveToUnit();
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"tab 3", "box " + violation.message, "focus tabOUTNazev 4"}));
}

TEST_F(UnitTransferTest, UnknownMemorySizeRefusesBothDirections) {
    unit.memoryCode = 10;
    activate();
    view.expectBox(Box(LoadTitle, SizeUnknown, MessageIcon::Critical));
    link.loadFromUnit();
    view.expectBox(Box(SaveTitle, SizeUnknown, MessageIcon::Critical));
    link.saveToUnit();
    EXPECT_TRUE(unit.requests.empty());
}

struct StoppedWrite {
    const char* name;
    bool cancel; ///< Storno, else the unit falls silent
    Message box;
};

TEST_F(UnitTransferTest, WriteThatStopsEarlyLeavesAUnitThatReadsAsNotProgrammed) {
    const StoppedWrite cases[] = {
        {"unit falls silent", false,
         Box(SaveTitle,
             "Data nebyla úspěšně uložena do EEPROM. Došlo k chybě při ukládání bloku do EEPROM.\n\n"
             "Zařízení nyní nemá platné nastavení; uložte je do něj znovu.",
             MessageIcon::Critical)},
        {"Storno", true,
         Box(SaveTitle,
             "Ukládání dat z PC do EEPROM bylo stornováno.\n\nZařízení nyní nemá platné nastavení; uložte je "
             "do něj znovu.",
             MessageIcon::Information)},
    };
    for (const StoppedWrite& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedView caseView;
        SettingsForm caseForm(caseView);
        TestProgress caseProgress;
        FakeLine caseLine;
        FakeUnit caseUnit(caseLine);
        DeviceLink caseLink(caseForm, image, caseProgress, caseProgress.stop, caseLine, caseLine);
        programUnit();
        caseUnit.eeprom = unit.eeprom;
        caseUnit.memoryCode = 4;
        caseView.expectBox(PressButton);
        caseLink.onDeaClicked();

        bool silent = false;
        caseUnit.ignore = [&](const FakeUnit::Request&) { return silent; };
        caseUnit.onRequest = [&](const FakeUnit::Request& r) {
            if (r.code() != 0x05 || r.address() != 40) return;
            if (c.cancel) caseProgress.cancel();
            silent = !c.cancel;
        };
        caseView.expectBox(c.box);
        caseLink.saveToUnit();

        silent = false;
        caseUnit.onRequest = nullptr;
        caseView.expectBox(NotProgrammed);
        caseLink.loadFromUnit();
        EXPECT_EQ(caseForm.display().tabDeAktivNapis, "Aktivní");
    }
}

TEST_F(UnitTransferTest, AReadOrAWholeWriteKeepsTheSettingsButAStoppedWriteDoesNot) {
    programUnit();
    activate2048();
    form.setText(Station, "DOMA");
    EXPECT_TRUE(form.settingsChanged());
    view.expectBox(ReadDone);
    link.loadFromUnit();
    EXPECT_FALSE(form.settingsChanged()) << "filling the form from the unit is no change";

    form.setText(Station, "SKLAD");
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.code() == 0x05 && r.address() == 40) progress.cancel();
    };
    view.expectBox(Box(SaveTitle,
                       "Ukládání dat z PC do EEPROM bylo stornováno.\n\n"
                       "Zařízení nyní nemá platné nastavení; uložte je do něj znovu.",
                       MessageIcon::Information));
    link.saveToUnit();
    EXPECT_TRUE(form.settingsChanged());

    // An edit made while the write runs did not reach the unit, so it is still a change afterwards.
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.code() == 0x05 && r.address() == 40) form.setText({TextField::tabPIN}, "1234");
    };
    view.expectBox(WriteDone);
    link.saveToUnit();
    EXPECT_TRUE(form.settingsChanged());
    form.setText({TextField::tabPIN}, "");
    EXPECT_FALSE(form.settingsChanged()) << "the settings are again those the unit holds";
}

TEST_F(UnitTransferTest, PulledCableEndsTheWriteInactiveWithThePortClosed) {
    activate2048();
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.index == 22) line.hangUp();
    };
    view.expectBox(
        Box(SaveTitle,
            "Spojení se zařízením bylo přerušeno: port COM 1 přestal pracovat. Port byl uzavřen a "
            "spojení je neaktivní.\n\nZařízení nyní nemá platné nastavení; uložte je do něj znovu.",
            MessageIcon::Critical));
    link.saveToUnit();
    EXPECT_FALSE(line.isOpen());
    EXPECT_EQ(form.display().btDEA, "Aktivovat");
    EXPECT_EQ(form.display().lblInfoPamSize, "?");
    EXPECT_FALSE(progress.shown);
    EXPECT_FALSE(link.busy());
}

TEST(SaveImageToUnitTest, AReadyImageGoesOutAsItIsUnlessTheMemoryCannotHoldIt) {
    ScriptedView view;
    TestProgress progress;
    FakeLine line;
    FakeUnit unit{line}; // 128 bytes
    auto image = std::make_unique<EepromImage>();
    UnitSession session(view, *image, progress, progress.stop, line, line);
    view.expectBox(PressButton);
    ASSERT_EQ(session.activate(PortChoices({}).front()).outcome, LinkOutcome::Done);

    // The used size is one more than the image: 128 bytes do not fit a 128-byte memory.
    const std::string tooLarge =
        "Velikost dat v nastavení (129 byte) je větší než je možno vložit do EEPROM (   128 byte).";
    view.expectBox(Box(SaveTitle, tooLarge, MessageIcon::Critical));
    const SessionResult refused = SaveImageToUnit(view, session, 128, TransferScope::WholeMemory, true);
    EXPECT_EQ(refused.outcome, LinkOutcome::Refused);
    EXPECT_EQ(refused.message, tooLarge);
    EXPECT_TRUE(unit.requestsOf(0x05).empty());

    for (int i = 0; i < 100; ++i)
        image->putByte(i, static_cast<std::uint8_t>(i));
    view.expectBox(WriteDone);
    const SessionResult written = SaveImageToUnit(view, session, 100, TransferScope::SettingsOnly, false);
    EXPECT_EQ(written.outcome, LinkOutcome::Done);
    EXPECT_FALSE(written.unitLeftWithoutSettings);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(unit.eeprom.at(i), i) << i;
    EXPECT_EQ(unit.eeprom.at(104), 0xFF); // the blocks beyond the image stay as the unit holds them
}

} // namespace
} // namespace orb::test
