// Activation, identification and deactivation against a fake unit.
#include "link/PortDevice.h"
#include "link/tests/LinkFixture.h"

#include <functional>
#include <optional>

namespace orb::test {
namespace {

const Message ActivationError =
    Box("Aktivace spojení", "Při pokusu aktivovat spojení nastala chyba.", MessageIcon::Critical);

using ProgrammingModeTest = LinkTest;

void ExpectInactive(const SettingsForm& form) {
    const FormDisplay& d = form.display();
    EXPECT_EQ(d.tabDeAktivNapis, "Neaktivní");
    EXPECT_EQ(d.tabDeAktivNapisColour, LabelColour::Red);
    EXPECT_EQ(d.btDEA, "Aktivovat");
    EXPECT_TRUE(d.tabPortEnabled);
    EXPECT_FALSE(d.btEEPROMLoadEnabled);
    EXPECT_FALSE(d.btEEPROMSaveEnabled);
    for (const std::string& label :
         {d.lblInfoProdukt, d.lblInfoVerze, d.lblInfoPamSize, d.lblInfoModem, d.lblInfoPamFree})
        EXPECT_EQ(label, "?");
}

TEST_F(ProgrammingModeTest, OrbWithFirmware12BecomesActiveAfterTheButtonNotice) {
    unit.memoryCode = 4;
    unit.modemCode = 3;
    view.expectBox(PressButton);
    link.onDeaClicked();

    const FormDisplay& d = form.display();
    EXPECT_EQ(d.tabDeAktivNapis, "Aktivní");
    EXPECT_EQ(d.tabDeAktivNapisColour, LabelColour::Blue);
    EXPECT_EQ(d.btDEA, "Deaktivovat");
    EXPECT_FALSE(d.tabPortEnabled);
    EXPECT_TRUE(d.btEEPROMLoadEnabled);
    EXPECT_TRUE(d.btEEPROMSaveEnabled);
    EXPECT_EQ(d.lblInfoProdukt, "ORB");
    EXPECT_EQ(d.lblInfoVerze, "1.2");
    EXPECT_EQ(d.lblInfoPamSize, "  2048 byte");
    EXPECT_EQ(d.lblInfoModem, "M20 Siemens");
    EXPECT_EQ(d.lblInfoPamFree, "1898 byte"); // the size display was refreshed
    EXPECT_TRUE(line.isOpen());
    EXPECT_EQ(line.openedDevices, std::vector<std::string>{PortDevice(1)});
    // Identity and memory are each asked twice: two agreeing replies prove them.
    EXPECT_EQ(line.written, (Bytes{0x01, 0x02, 0x0D, 0x02, 0x03, 0x0D, 0x02, 0x03, 0x0D, 0x03, 0x04, 0x0D,
                                   0x03, 0x04, 0x0D}));
    EXPECT_EQ(progress.events,
              (std::vector<std::string>{
                  "show Zapněte zařízení. Program se pokouší navázat komunikaci. [Storno]", "hide"}));
}

struct Identity {
    const char* name;
    std::array<std::uint8_t, 3> bytes;
    int major;
    int minor;
    const char* notice; ///< the box after identification, nullptr for none
    MessageIcon icon;
    const char* caption;
    const char* product;
    const char* version;
};

TEST_F(ProgrammingModeTest, ChecksProductAndFirmwareVersion) {
    const char* onlyOrb = "Touto verzí programu lze naprogramovat pouze zařízení ORB.";
    const char* tooOld =
        "Touto verzí programu lze naprogramovat pouze zařízení s procesorem verze 1.2 a vyšší.";
    const char* unknown =
        "Připojené zařízení není známo. Je sice povoleno ho naprogramovat, ale za způsobené chyby "
        "není ručeno.";
    const auto info = MessageIcon::Information;
    const auto critical = MessageIcon::Critical;
    const Identity cases[] = {
        {"ORBTONE 1.2", {0x02, 0xD3, 0x04}, 1, 2, nullptr, info, "Aktivní", "ORBTONE", "1.2"},
        {"ORB 2.0", {0x02, 0xD3, 0x03}, 2, 0, nullptr, info, "Aktivní", "ORB", "2.0"},
        {"ORB 1.25", {0x02, 0xD3, 0x03}, 1, 25, nullptr, info, "Aktivní", "ORB", "1.25"},
        {"ORBTONE 1.1", {0x02, 0xD3, 0x04}, 1, 1, tooOld, critical, "Chybné zařízení", "ORBTONE", "1.1"},
        {"ORB 1.10 reads as 1.1",
         {0x02, 0xD3, 0x03},
         1,
         10,
         tooOld,
         critical,
         "Chybné zařízení",
         "ORB",
         "1.10"},
        {"ORB 0.9", {0x02, 0xD3, 0x03}, 0, 9, tooOld, critical, "Chybné zařízení", "ORB", "0.9"},
        {"TAL", {0x02, 0xA5, 0x51}, 1, 2, onlyOrb, critical, "Chybné zařízení", "TAL", "1.2"},
        {"VEK", {0x02, 0xAF, 0x34}, 3, 0, onlyOrb, critical, "Chybné zařízení", "VEK", "3.0"},
        {"identity 1", {0x01, 0x00, 0x00}, 1, 0, unknown, info, "Aktivní", "?", "1.0"},
    };
    for (const Identity& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedView caseView;
        SettingsForm caseForm(caseView);
        TestProgress caseProgress;
        FakeLine caseLine;
        FakeUnit caseUnit(caseLine);
        DeviceLink caseLink(caseForm, image, caseProgress, caseProgress.stop, caseLine, caseLine);
        caseUnit.identity = c.bytes;
        caseUnit.major = c.major;
        caseUnit.minor = c.minor;
        caseView.expectBox(PressButton);
        if (c.notice) caseView.expectBox(Box("ORB - Aktivace spojení", c.notice, c.icon));

        caseLink.onDeaClicked();

        const FormDisplay& d = caseForm.display();
        EXPECT_EQ(d.tabDeAktivNapis, c.caption);
        EXPECT_EQ(d.tabDeAktivNapisColour, LabelColour::Blue);
        EXPECT_EQ(d.btDEA, "Deaktivovat");
        EXPECT_FALSE(d.tabPortEnabled);
        const bool accepted = std::string(c.caption) == "Aktivní";
        EXPECT_EQ(d.btEEPROMLoadEnabled, accepted);
        EXPECT_EQ(d.btEEPROMSaveEnabled, accepted);
        EXPECT_EQ(d.lblInfoProdukt, c.product);
        EXPECT_EQ(d.lblInfoVerze, c.version);
        EXPECT_EQ(d.lblInfoPamSize, "   128 byte");
        EXPECT_TRUE(caseLine.isOpen());
        EXPECT_FALSE(caseProgress.shown);
    }
}

TEST_F(ProgrammingModeTest, CodesOutsideTheirTablesLeaveQuestionMarks) {
    unit.memoryCode = 12;
    unit.modemCode = 4;
    view.expectBox(PressButton);
    link.onDeaClicked();
    EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
    EXPECT_EQ(form.display().lblInfoPamSize, "?");
    EXPECT_EQ(form.display().lblInfoModem, "?");
    EXPECT_EQ(form.display().lblInfoPamFree, "?");
}

TEST_F(ProgrammingModeTest, GreetsEvery500MsUntilTheUnitIsSwitchedOn) {
    unit.ignore = [](const FakeUnit::Request& r) { return r.code() == 0x01 && r.index <= 3; };
    view.expectBox(PressButton);
    link.onDeaClicked();
    EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
    const auto hellos = unit.requestsOf(0x01);
    ASSERT_EQ(hellos.size(), 4u);
    for (std::size_t i = 1; i < hellos.size(); ++i)
        EXPECT_EQ(hellos[i].atMs - hellos[i - 1].atMs, 500);
}

TEST_F(ProgrammingModeTest, HelloAnsweredJustAfterItsLimitStillActivates) {
    // The late answer comes while the second hello waits; the second hello's answer then meets the
    // identify request, whose reply must still be the identity.
    for (const bool paced : {false, true}) {
        SCOPED_TRACE(paced ? "paced" : "at once");
        FakeLine caseLine;
        FakeUnit caseUnit(caseLine);
        caseUnit.paced = paced;
        caseUnit.identity = {0x02, 0xD3, 0x04};
        caseUnit.replyAfter = [](const FakeUnit::Request& r) { return r.index == 1 ? 520ms : 2ms; };
        TestProgress caseProgress;
        ScriptedView caseView;
        SettingsForm caseForm{caseView};
        DeviceLink caseLink{caseForm, image, caseProgress, caseProgress.stop, caseLine, caseLine};
        caseView.expectBox(PressButton);
        caseLink.onDeaClicked();
        EXPECT_EQ(caseForm.display().tabDeAktivNapis, "Aktivní");
        EXPECT_EQ(caseForm.display().lblInfoProdukt, "ORBTONE");
        EXPECT_EQ(caseForm.display().lblInfoPamSize, "   128 byte");
        EXPECT_EQ(caseUnit.requestsOf(0x01).size(), 2u);
    }
}

TEST_F(ProgrammingModeTest, StornoInTheHelloLoopEndsInactiveWithThePortClosed) {
    unit.ignore = [](const FakeUnit::Request&) { return true; };
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.index == 5) progress.cancel();
    };
    view.expectBox(PressButton);
    view.expectBox(ActivationError);
    link.onDeaClicked();
    EXPECT_EQ(unit.requests.size(), 5u);
    ExpectInactive(form);
    EXPECT_FALSE(line.isOpen());
}

TEST_F(ProgrammingModeTest, StornoWinsOverAHelloAnsweredInTheSameTurnAndTheUnitIsTakenOutAgain) {
    unit.onRequest = [&](const FakeUnit::Request&) { progress.cancel(); };
    view.expectBox(PressButton);
    view.expectBox(ActivationError);
    link.onDeaClicked();
    ASSERT_EQ(unit.requests.size(), 2u);
    EXPECT_EQ(unit.requests[1].payload, (Bytes{0x06, 0xAA, 0x55}));
    ExpectInactive(form);
}

struct FailedActivation {
    const char* name;
    std::function<bool(const FakeUnit::Request&)> ignore;
    std::function<std::optional<Bytes>(const FakeUnit::Request&)> replaceReply;
    Bytes written; ///< everything the link sent, the deactivation last
    const char* message;
};

void PrintTo(const FailedActivation& c, std::ostream* out) {
    *out << c.name;
}

class FailedActivationTest : public ProgrammingModeTest,
                             public ::testing::WithParamInterface<FailedActivation> {};

// A unit that answered the hello is in programming mode: a failure after it sends the deactivation before
// it is told, and says so when the unit does not confirm it.
TEST_P(FailedActivationTest, EndsInactiveWithTheGreetedUnitSentTheDeactivation) {
    const FailedActivation& c = GetParam();
    unit.ignore = c.ignore;
    unit.replaceReply = c.replaceReply;
    view.expectBox(PressButton);
    view.expectBox(Box("Aktivace spojení", c.message, MessageIcon::Critical));
    EXPECT_EQ(link.onDeaClicked(), LinkOutcome::NotReached);
    ExpectInactive(form); // also the product and version that Identify had filled in
    EXPECT_FALSE(line.isOpen());
    EXPECT_EQ(line.written, c.written);
}

const auto Silent = [](std::uint8_t code) {
    return [code](const FakeUnit::Request& r) { return r.code() == code; };
};
const auto NoReplaced = [](const FakeUnit::Request&) { return std::optional<Bytes>(); };
const Bytes HelloIdentify{0x01, 0x02, 0x0D, 0x02, 0x03, 0x0D};
const Bytes Identify{0x02, 0x03, 0x0D};
const Bytes MemoryAndModem{0x03, 0x04, 0x0D};
const Bytes Deactivation{0x06, 0xAA, 0x55, 0x06, 0x0D};
Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
constexpr const char* Failed = "Při pokusu aktivovat spojení nastala chyba.";
constexpr const char* FailedStillActive =
    "Při pokusu aktivovat spojení nastala chyba.\n\nZařízení nepotvrdilo "
    "deaktivaci a může být stále v programovacím módu.";

INSTANTIATE_TEST_SUITE_P(
    AfterTheHello, FailedActivationTest,
    ::testing::Values(
        FailedActivation{"identify unanswered", Silent(0x02), NoReplaced,
                         Joined({HelloIdentify, Identify, Identify, Identify, Deactivation}), Failed},
        FailedActivation{
            "identify damaged", [](const FakeUnit::Request&) { return false; },
            [](const FakeUnit::Request& r) {
                return r.code() == 0x02 ? std::optional<Bytes>({0x82, '2', '0', 0x00, 0x0D}) : std::nullopt;
            },
            Joined({HelloIdentify, Identify, Identify, Identify, Deactivation}), Failed},
        FailedActivation{"memory and modem unanswered", Silent(0x03), NoReplaced,
                         Joined({HelloIdentify, Identify, MemoryAndModem, MemoryAndModem, MemoryAndModem,
                                 MemoryAndModem, Deactivation}),
                         Failed},
        FailedActivation{"identify and the deactivation unanswered",
                         [](const FakeUnit::Request& r) { return r.code() == 0x02 || r.code() == 0x06; },
                         NoReplaced, Joined({HelloIdentify, Identify, Identify, Identify, Deactivation}),
                         FailedStillActive}));

/// Replies to one kind of request that differ from what the unit holds, as damage that keeps the frame
/// checksum leaves them.
struct AskedAgain {
    const char* name;
    std::uint8_t code;          ///< the request whose replies are replaced
    std::vector<Bytes> replies; ///< the payloads of its first replies; the later ones are the unit's own
    std::size_t asks;           ///< how often the request goes out
    bool activates;
};

void PrintTo(const AskedAgain& c, std::ostream* out) {
    *out << c.name;
}

class AskedAgainTest : public ProgrammingModeTest, public ::testing::WithParamInterface<AskedAgain> {};

// The identity and the memory size stay for the whole session, so each is taken only from two replies in a
// row that agree; a reply taken alone would show an unknown product here (with its notice) or 2048 bytes.
TEST_P(AskedAgainTest, TakesOnlyTwoAgreeingRepliesAndFailsWhenNoneAgree) {
    const AskedAgain& c = GetParam();
    std::size_t asked = 0;
    unit.replaceReply = [&](const FakeUnit::Request& r) -> std::optional<Bytes> {
        if (r.code() != c.code || asked >= c.replies.size()) return std::nullopt;
        Bytes frame = c.replies[asked++];
        frame.push_back(FrameChecksum(frame));
        frame.push_back(TransferBlock::Terminator);
        return frame;
    };
    view.expectBox(PressButton);
    if (!c.activates) view.expectBox(ActivationError);

    EXPECT_EQ(link.onDeaClicked(), c.activates ? LinkOutcome::Done : LinkOutcome::NotReached);
    EXPECT_EQ(unit.requestsOf(c.code).size(), c.asks);
    if (c.activates) {
        EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
        EXPECT_EQ(form.display().lblInfoProdukt, "ORB");
        EXPECT_EQ(form.display().lblInfoPamSize, "   128 byte");
    } else {
        ExpectInactive(form);
        EXPECT_EQ(unit.requests.back().payload, (Bytes{0x06, 0xAA, 0x55}));
        EXPECT_FALSE(line.isOpen());
    }
}

const Bytes TrueIdentity{0x82, '0', '2', 'D', '3', '0', '3', '0', '2', '0', '1'};
const Bytes OtherIdentity{0x82, '1', '1', 'D', '3', '0', '3', '0', '2', '0', '1'};
const Bytes TrueMemory{0x83, '0', '0', '0', '0'};
const Bytes OtherMemory{0x83, '0', '4', '0', '0'};

INSTANTIATE_TEST_SUITE_P(
    IdentityAndMemory, AskedAgainTest,
    ::testing::Values(
        AskedAgain{"two agreeing identities", 0x02, {}, 2, true},
        AskedAgain{"the first identity differs from the next two", 0x02, {OtherIdentity}, 3, true},
        AskedAgain{"the second identity differs", 0x02, {TrueIdentity, OtherIdentity}, 4, true},
        AskedAgain{"no two identities in a row agree",
                   0x02,
                   {OtherIdentity, TrueIdentity, OtherIdentity, TrueIdentity},
                   4,
                   false},
        AskedAgain{"the first memory size differs from the next two", 0x03, {OtherMemory}, 3, true},
        AskedAgain{"no two memory sizes in a row agree",
                   0x03,
                   {OtherMemory, TrueMemory, OtherMemory, TrueMemory},
                   4,
                   false}));

/// The first reply to one kind of request lost on the line, or started too late for its limit.
struct FirstReplyMissed {
    const char* name;
    std::uint8_t code;
    bool late; ///< false: lost
};

void PrintTo(const FirstReplyMissed& c, std::ostream* out) {
    *out << c.name;
}

class FirstReplyMissedTest : public ProgrammingModeTest,
                             public ::testing::WithParamInterface<FirstReplyMissed> {};

// A unit in programming mode answers whenever it hears the request: one reply lost to noise, or taken too
// late by a busy computer, is asked for again and the unit activates with what it reported.
TEST_P(FirstReplyMissedTest, IsAskedForAgainAndTheUnitActivates) {
    const FirstReplyMissed& c = GetParam();
    const auto isFirst = [&](const FakeUnit::Request& r) {
        return r.code() == c.code && r.index == unit.requestsOf(c.code).front().index;
    };
    if (c.late)
        unit.replyAfter = [isFirst](const FakeUnit::Request& r) { return isFirst(r) ? 150ms : 2ms; };
    else
        unit.ignore = isFirst;
    view.expectBox(PressButton);

    EXPECT_EQ(link.onDeaClicked(), LinkOutcome::Done);
    EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
    EXPECT_EQ(form.display().lblInfoProdukt, "ORB");
    EXPECT_EQ(form.display().lblInfoPamSize, "   128 byte");
    EXPECT_EQ(unit.requestsOf(c.code).size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(IdentityAndMemory, FirstReplyMissedTest,
                         ::testing::Values(FirstReplyMissed{"identity lost", 0x02, false},
                                           FirstReplyMissed{"identity late", 0x02, true},
                                           FirstReplyMissed{"memory size lost", 0x03, false},
                                           FirstReplyMissed{"memory size late", 0x03, true}));

TEST_F(ProgrammingModeTest, PortThatCannotBeOpenedIsNamed) {
    form.setChoice(ChoiceField::tabPort, 3);
    line.missingDevices = {PortDevice(4)};
    view.expectBox(Box("Otevírání portu", "Nelze otevřít port COM 4.", MessageIcon::Critical));
    link.onDeaClicked();
    EXPECT_EQ(line.openedDevices, std::vector<std::string>{PortDevice(4)});
    EXPECT_TRUE(line.written.empty());
    EXPECT_TRUE(progress.events.empty());
    EXPECT_EQ(form.display().btDEA, "Aktivovat");
}

TEST_F(ProgrammingModeTest, DetectedPortOpensItsDeviceAndMessagesNameIt) {
    link.setPorts(PortChoices({{.device = "/dev/ttyUSB7", .description = "FT232R USB UART"}}));
    form.setChoice(ChoiceField::tabPort, 4);
    line.missingDevices = {"/dev/ttyUSB7"};
    view.expectBox(Box("Otevírání portu", "Nelze otevřít port /dev/ttyUSB7.", MessageIcon::Critical));
    link.onDeaClicked();
    EXPECT_EQ(line.openedDevices, std::vector<std::string>{"/dev/ttyUSB7"});

    // The user picks another entry while the unit is greeted; the message names the port that failed.
    line.missingDevices.clear();
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.code() != 0x02) return;
        form.setChoice(ChoiceField::tabPort, 1);
        line.hangUp();
    };
    view.expectBox(PressButton);
    view.expectBox(Box("ORB - Aktivace spojení",
                       "Spojení se zařízením bylo přerušeno: port /dev/ttyUSB7 přestal pracovat. Port byl "
                       "uzavřen a spojení je neaktivní.",
                       MessageIcon::Critical));
    link.onDeaClicked();
}

TEST_F(ProgrammingModeTest, DeactivationWithReplyClosesThePort) {
    unit.memoryCode = 4;
    activate();
    link.onDeaClicked();
    EXPECT_EQ(line.written.size() >= 5 ? Bytes(line.written.end() - 5, line.written.end()) : Bytes{},
              (Bytes{0x06, 0xAA, 0x55, 0x06, 0x0D}));
    ExpectInactive(form);
    EXPECT_FALSE(line.isOpen());
    EXPECT_TRUE(progress.events.empty());
}

TEST_F(ProgrammingModeTest, DeactivationWithoutReplyAsksTheUser) {
    activate();
    unit.ignore = [](const FakeUnit::Request& r) { return r.code() == 0x06; };

    view.expectBox(DeactivationQuestion, Answer::No);
    link.onDeaClicked();
    EXPECT_EQ(form.display().btDEA, "Deaktivovat");
    EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
    EXPECT_TRUE(line.isOpen());

    view.expectBox(DeactivationQuestion, Answer::Yes);
    link.onDeaClicked();
    ExpectInactive(form);
    EXPECT_FALSE(line.isOpen());
    EXPECT_EQ(unit.requestsOf(0x06).size(), 2u);
}

TEST_F(ProgrammingModeTest, PulledCableEndsTheActivationWithThePortClosed) {
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.code() == 0x02) line.hangUp();
    };
    view.expectBox(PressButton);
    view.expectBox(Box("ORB - Aktivace spojení",
                       "Spojení se zařízením bylo přerušeno: port COM 1 přestal pracovat. Port byl uzavřen a "
                       "spojení je neaktivní.",
                       MessageIcon::Critical));
    link.onDeaClicked();
    ExpectInactive(form);
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(progress.shown);
    EXPECT_FALSE(link.busy());
}

} // namespace
} // namespace orb::test
