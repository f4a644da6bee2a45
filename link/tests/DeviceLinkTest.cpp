// The device link's commands: what each came to, the exit questions, the port list and the commands that
// arrive while another one runs.
#include "image/CodecMessages.h"
#include "link/PortDevice.h"
#include "link/tests/LinkFixture.h"
#include "tests/support/QuietView.h"

#include <functional>

namespace orb::test {
namespace {

using DeviceLinkTest = LinkTest;

const std::string ExitQuestion = "Zařízení nebylo deaktivováno a je zřejmě stále v programovacím módu. Má se "
                                 "zařízení před ukončením programu deaktivovat?";

/// A window that counts the boxes shown while the progress window is up. Only the decoder's own box may
/// be: it belongs to the conversion the progress window announces.
class BoxesOverProgress : public QuietView {
  public:
    explicit BoxesOverProgress(const TestProgress& progress) : progress_(progress) {}
    Answer ask(const Message& message) override {
        if (progress_.shown && message.title != DecodeErrorTitle) ++count;
        return QuietView::ask(message);
    }
    int count = 0;

  private:
    const TestProgress& progress_;
};

/// A 2,048-byte ORB on its line, with a window whose user answers every box with its first button.
struct UnitOnLine {
    UnitOnLine() { unit.memoryCode = 4; }

    TestProgress progress;
    BoxesOverProgress view{progress};
    SettingsForm form{view};
    std::unique_ptr<EepromImage> image = std::make_unique<EepromImage>();
    FakeLine line;
    FakeUnit unit{line};
    DeviceLink link{form, *image, progress, progress.stop, line, line};
};

struct OutcomeCase {
    const char* name;
    std::function<void(UnitOnLine&)> arrange; ///< before the activation
    bool activeFirst;                         ///< the command runs on an activated unit
    std::function<LinkOutcome(DeviceLink&)> command;
    LinkOutcome outcome;
};

LinkOutcome Dea(DeviceLink& link) {
    return link.onDeaClicked();
}
LinkOutcome Load(DeviceLink& link) {
    return link.loadFromUnit();
}
LinkOutcome Save(DeviceLink& link) {
    return link.saveToUnit();
}
void OnRequest(UnitOnLine& u, std::uint8_t code, int address, std::function<void()> action) {
    u.unit.onRequest = [=](const FakeUnit::Request& r) {
        if (r.code() == code && (address < 0 || r.address() == address)) action();
    };
}

TEST(DeviceLinkOutcomeTest, EachCommandReturnsWhatItCameTo) {
    using enum LinkOutcome;
    const OutcomeCase cases[] = {
        {"activation of an ORB", [](UnitOnLine&) {}, false, Dea, Done},
        {"activation of another product",
         [](UnitOnLine& u) {
             u.unit.identity = {0x02, 0xA5, 0x51};
         },
         false, Dea, Refused},
        {"activation on a missing port", [](UnitOnLine& u) { u.line.missingDevices = {PortDevice(1)}; },
         false, Dea, NotOpened},
        {"activation without an identity",
         [](UnitOnLine& u) { u.unit.ignore = [](const FakeUnit::Request& r) { return r.code() == 0x02; }; },
         false, Dea, NotReached},
        {"activation box closed without OK", [](UnitOnLine& u) { u.view.dismissBoxes = true; }, false, Dea,
         Cancelled},
        {"Storno while the unit is greeted",
         [](UnitOnLine& u) {
             u.unit.ignore = [](const FakeUnit::Request&) { return true; };
             OnRequest(u, 0x01, -1, [&u] { u.progress.cancel(); });
         },
         false, Dea, Cancelled},
        {"cable pulled during the activation",
         [](UnitOnLine& u) { OnRequest(u, 0x02, -1, [&u] { u.line.hangUp(); }); }, false, Dea, PortFailed},
        {"deactivation", [](UnitOnLine&) {}, true, Dea, Done},
        {"read of a programmed unit", [](UnitOnLine& u) { u.unit.holdSettings({}); }, true, Load, Done},
        {"read of an erased unit", [](UnitOnLine&) {}, true, Load, NotProgrammed},
        {"read of settings that cannot be decoded",
         [](UnitOnLine& u) {
             u.unit.holdSettings({});
             SpoilSettings(u.unit);
         },
         true, Load, DecodeFailed},
        {"read whose retries run out",
         [](UnitOnLine& u) { u.unit.ignore = [](const FakeUnit::Request& r) { return r.address() == 16; }; },
         true, Load, BlockFailed},
        {"Storno during a read", [](UnitOnLine& u) { OnRequest(u, 0x04, 64, [&u] { u.progress.cancel(); }); },
         true, Load, Cancelled},
        {"read of a unit of unknown size", [](UnitOnLine& u) { u.unit.memoryCode = 10; }, true, Load,
         SizeUnknown},
        {"write", [](UnitOnLine&) {}, true, Save, Done},
        {"write of settings too large",
         [](UnitOnLine& u) { u.form.setText({TextField::tabJmenoStanice}, std::string(1899, 'A')); }, true,
         Save, Refused},
        {"write whose unit falls silent",
         [](UnitOnLine& u) { u.unit.ignore = [](const FakeUnit::Request& r) { return r.address() == 40; }; },
         true, Save, BlockFailed},
        {"Storno during a write",
         [](UnitOnLine& u) { OnRequest(u, 0x05, 40, [&u] { u.progress.cancel(); }); }, true, Save, Cancelled},
        {"cable pulled during a write",
         [](UnitOnLine& u) { OnRequest(u, 0x05, 40, [&u] { u.line.hangUp(); }); }, true, Save, PortFailed},
    };
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE(c.name);
        UnitOnLine u;
        c.arrange(u);
        if (c.activeFirst) {
            ASSERT_EQ(u.link.onDeaClicked(), Done);
        }
        EXPECT_EQ(c.command(u.link), c.outcome);
        // Whatever the command came to, its progress window is down and no box appeared under it.
        EXPECT_FALSE(u.progress.shown);
        EXPECT_EQ(u.view.count, 0);
    }
}

TEST_F(DeviceLinkTest, ChosenPortStaysChosenWhenTheListIsReadAgain) {
    const DetectedPort usb{.device = "/dev/ttyUSB7", .description = "FT232R"};
    const DetectedPort acm{.device = "/dev/ttyACM0"};
    link.setPorts(PortChoices({usb}));
    form.setChoice(ChoiceField::tabPort, 4);
    link.setPorts(PortChoices({acm, usb}));
    EXPECT_EQ(form.choice(ChoiceField::tabPort), 5);
    link.setPorts(PortChoices({acm}));
    EXPECT_EQ(form.choice(ChoiceField::tabPort), 0); // unplugged: back to COM 1

    form.setChoice(ChoiceField::tabPort, 2);
    link.setPorts(PortChoices({usb}));
    EXPECT_EQ(form.choice(ChoiceField::tabPort), 2);
}

TEST_F(DeviceLinkTest, ExitAsksOnlyWhileAUnitMayBeInProgrammingMode) {
    EXPECT_TRUE(link.confirmExit());
    link.confirmExit(MessageButtons::YesNo);
    EXPECT_TRUE(view.boxes.empty());

    activate();
    const Message exitBox =
        Box("ORB - ukončení programu", ExitQuestion, MessageIcon::Question, MessageButtons::YesNoCancel);
    view.expectBox(exitBox, Answer::Cancel);
    EXPECT_FALSE(link.confirmExit());
    view.expectBox(exitBox, Answer::No);
    EXPECT_TRUE(link.confirmExit());
    EXPECT_TRUE(unit.requests.empty());
    EXPECT_TRUE(line.isOpen());

    // A deactivation that fails ends the program all the same.
    unit.ignore = [](const FakeUnit::Request&) { return true; };
    view.expectBox(exitBox, Answer::Yes);
    view.expectBox(DeactivationQuestion, Answer::No);
    EXPECT_TRUE(link.confirmExit());
    EXPECT_EQ(unit.requestsOf(0x06).size(), 1u);
}

TEST_F(DeviceLinkTest, CloseBoxOffersDeactivationWithYesAndNo) {
    activate();
    const Message closeBox =
        Box("ORB - ukončení programu", ExitQuestion, MessageIcon::Question, MessageButtons::YesNo);
    view.expectBox(closeBox, Answer::No);
    link.confirmExit(MessageButtons::YesNo);
    EXPECT_TRUE(unit.requests.empty());

    view.expectBox(closeBox, Answer::Yes);
    link.confirmExit(MessageButtons::YesNo);
    EXPECT_EQ(unit.requestsOf(0x06).size(), 1u);
    EXPECT_FALSE(line.isOpen());
}

TEST_F(DeviceLinkTest, CommandsDuringARunningExchangeAreIgnored) {
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.code() != 0x02) return;
        EXPECT_TRUE(link.busy());
        link.onDeaClicked();
        link.loadFromUnit();
        link.saveToUnit();
        link.confirmExit(MessageButtons::YesNo);
        EXPECT_FALSE(link.confirmExit());
    };
    view.expectBox(PressButton);
    link.onDeaClicked();
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(unit.requests.size(), 5u);
    EXPECT_EQ(form.display().tabDeAktivNapis, "Aktivní");
}

TEST_F(DeviceLinkTest, ADeactivationTheUserDoesNotConfirmIsNotReached) {
    activate();
    unit.ignore = [](const FakeUnit::Request& r) { return r.code() == 0x06; };
    view.expectBox(DeactivationQuestion, Answer::No);
    EXPECT_EQ(link.onDeaClicked(), LinkOutcome::NotReached);
    view.expectBox(DeactivationQuestion, Answer::Yes);
    EXPECT_EQ(link.leaveProgrammingMode(), LinkOutcome::Done);
    EXPECT_EQ(link.leaveProgrammingMode(), LinkOutcome::Done); // nothing left to leave
    EXPECT_EQ(unit.requestsOf(0x06).size(), 2u);
}

TEST_F(DeviceLinkTest, CommandsDuringARunningExchangeReturnBusy) {
    std::vector<LinkOutcome> meanwhile;
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.code() == 0x02) meanwhile = {link.onDeaClicked(), link.loadFromUnit(), link.saveToUnit()};
    };
    view.expectBox(PressButton);
    EXPECT_EQ(link.onDeaClicked(), LinkOutcome::Done);
    EXPECT_EQ(meanwhile, std::vector<LinkOutcome>(3, LinkOutcome::Busy));
}

} // namespace
} // namespace orb::test
