#include "link/ProgrammingMode.h"

#include "link/LinkMessages.h"
#include "link/PortDevice.h"
#include "link/RequestCodes.h"
#include "settings/Tables.h"

#include <algorithm>

namespace orb {

namespace lm = link_messages;

namespace {

constexpr int HelloLimitMs = 500;
constexpr int ReplyLimitMs = 100;
// Four asks prove a reply even when one of them is damaged, lost or late: a damaged second reply differs
// from the first and from the third, and the fourth then agrees with the third.
constexpr int AgreementAsks = 4;

/// Compares the firmware version with the lowest one accepted, 1.2, the way the version reads as a
/// decimal number: minor 10 makes "1.10", which is 1.1 and too old.
bool IsBelowLowestVersion(int major, int minor) {
    int scale = 10; // 10 to the number of decimal digits of minor
    while (minor >= scale)
        scale *= 10;
    return 12 * scale > (major * scale + minor) * 10;
}

} // namespace

ProgrammingMode::ProgrammingMode(Prompter& prompter, Progress& progress, StopToken& stop,
                                 Transport& transport, KnownUnit& unit)
    : prompter_(prompter), progress_(progress), stop_(stop), transport_(transport), unit_(unit) {}

SessionResult ProgrammingMode::activate(const PortChoice& port) {
    if (const std::optional<std::string> failure = openPort(port))
        return {.outcome = LinkOutcome::NotOpened, .message = *failure};
    if (prompter_.ask({std::string(lm::ActivatingTitle), std::string(lm::PressButton),
                       MessageIcon::Information, MessageButtons::Ok}) == Answer::Cancel) {
        // Closed with Esc, or by a stop signal: the unit has not been greeted, so nothing is left to undo.
        transport_.closePort();
        return {.outcome = LinkOutcome::Cancelled, .stoppedBy = stop_.poll()};
    }
    ShownProgress shown(progress_, std::string(lm::SwitchOn), true);
    const Greeting greeting = greet();
    if (greeting != Greeting::Answered)
        return fail(shown, LinkOutcome::Cancelled, greeting == Greeting::AnsweredThenStopped);
    const std::optional<UnitVerdict> verdict = identify();
    if (!verdict) return fail(shown, LinkOutcome::NotReached, true);
    // An accepted unit goes on silently, with the progress window still up.
    std::string verdictText;
    if (*verdict != UnitVerdict::Accepted) {
        shown.hide();
        verdictText = tellVerdict(*verdict);
    }
    if (!readMemoryAndModem()) return fail(shown, LinkOutcome::NotReached, true);
    const bool accepted = *verdict == UnitVerdict::Accepted || *verdict == UnitVerdict::UnknownProduct;
    unit_.enter(accepted ? LinkState::Active : LinkState::Refused);
    return {.outcome = accepted ? LinkOutcome::Done : LinkOutcome::Refused, .message = verdictText};
}

SessionResult ProgrammingMode::deactivate() {
    if (!sendDeactivation() &&
        prompter_.ask({std::string(lm::DeactivationTitle), std::string(lm::DeactivationFailed),
                       MessageIcon::Critical, MessageButtons::YesNo}) != Answer::Yes)
        return {.outcome = LinkOutcome::NotReached, .message = std::string(lm::DeactivationFailed)};
    unit_.enter(LinkState::Inactive);
    transport_.closePort();
    return {};
}

bool ProgrammingMode::sendDeactivation() {
    TransferBlock request = RequestFor(RequestCode::Deactivate);
    request.append(0xAA);
    request.append(0x55);
    return IsReplyTo(transport_.exchange(request, ReplyLimitMs), RequestCode::Deactivate, 1);
}

std::optional<std::string> ProgrammingMode::openPort(const PortChoice& port) {
    openedPortName_ = port.name();
    const std::string device = port.device();
    if (transport_.openPort(device)) return std::nullopt;
    // Where the user can mend the cause, a second paragraph names it.
    std::string message = lm::cannotOpenPort(port.name());
    switch (transport_.openFailure()) {
    case OpenFailure::InUse:
        message += "\n\n" + lm::portInUse(port.name(), device);
        break;
    case OpenFailure::NotPermitted:
        message += "\n\n" + lm::portNotPermitted(port.name(), device, AccessGroupOf(device));
        break;
    case OpenFailure::Missing:
        message += "\n\n" + lm::deviceMissing(device);
        break;
    case OpenFailure::NotASerialPort:
        message += "\n\n" + lm::notASerialPort(device);
        break;
    case OpenFailure::Other:
        break;
    }
    tell(prompter_, lm::OpenPortTitle, message, MessageIcon::Critical);
    return message;
}

ProgrammingMode::Greeting ProgrammingMode::greet() {
    // The unit answers only once the user has switched it on; until then every hello goes unanswered.
    bool answered = false;
    while (!answered && !stop_.stopped())
        answered = IsReplyTo(transport_.exchange(RequestFor(RequestCode::Hello), HelloLimitMs),
                             RequestCode::Hello, 1);
    if (!stop_.stopped()) return Greeting::Answered;
    return answered ? Greeting::AnsweredThenStopped : Greeting::Stopped;
}

std::optional<TransferBlock> ProgrammingMode::askUntilTwoAgree(RequestCode code, int count) {
    // Damage that keeps the frame checksum passes every frame check, and what these replies tell stays for
    // the whole session: every closing resynchronisation must see the identity again, and the memory size
    // decides how much is read and written. So a reply is taken only once the unit said the same twice in
    // a row, as a read with ReadCheck::Twice proves a block by reading it again. A reply that is missing or
    // invalid is asked for again within the same asks: the unit in programming mode answers these requests
    // whenever it hears them, and one reply lost to noise or taken late by a busy computer must not end
    // the activation of a unit that is there.
    const TransferBlock request = RequestFor(code);
    std::optional<TransferBlock> previous;
    for (int ask = 0; ask < AgreementAsks; ++ask) {
        const TransferBlock reply = transport_.exchange(request, ReplyLimitMs);
        if (!IsReplyTo(reply, code, count) || !reply.hexDigitsAt(1, count - 1)) {
            previous.reset();
            continue;
        }
        if (previous && std::ranges::equal(reply.payload(), previous->payload())) return reply;
        previous = reply;
    }
    return std::nullopt;
}

std::optional<ProgrammingMode::UnitVerdict> ProgrammingMode::identify() {
    const std::optional<TransferBlock> agreed = askUntilTwoAgree(RequestCode::Identify, 11);
    if (!agreed) return std::nullopt;
    const TransferBlock& reply = *agreed;
    transport_.rememberIdentity(reply);

    const int identity = reply.hexPairAt(5) * 65536 + reply.hexPairAt(3) * 256 + reply.hexPairAt(1);
    const int major = reply.hexPairAt(9);
    const int minor = reply.hexPairAt(7);
    UnitState unit = unit_.state();
    for (const DeviceType& type : DeviceTypeTable) {
        if (type.code() == identity) {
            unit.product = std::string(type.name);
            break;
        }
    }
    unit.version = FirmwareVersion{major, minor};
    unit_.set(unit);
    return verdictOn(unit.product, major, minor);
}

ProgrammingMode::UnitVerdict ProgrammingMode::verdictOn(const std::optional<std::string>& product, int major,
                                                        int minor) {
    if (!product) return UnitVerdict::UnknownProduct;
    if (*product != "ORBTONE" && *product != "ORB") return UnitVerdict::WrongProduct;
    if (IsBelowLowestVersion(major, minor)) return UnitVerdict::TooOld;
    return UnitVerdict::Accepted;
}

std::string ProgrammingMode::tellVerdict(UnitVerdict verdict) {
    const bool notice = verdict == UnitVerdict::UnknownProduct;
    const std::string text = notice                                 ? std::string(lm::UnknownDevice)
                             : verdict == UnitVerdict::WrongProduct ? lm::onlyDevice()
                                                                    : lm::versionTooOld();
    tell(prompter_, lm::ActivationTitle, text, notice ? MessageIcon::Information : MessageIcon::Critical);
    return text;
}

bool ProgrammingMode::readMemoryAndModem() {
    const std::optional<TransferBlock> agreed = askUntilTwoAgree(RequestCode::MemoryAndModem, 5);
    if (!agreed) return false;
    const TransferBlock& reply = *agreed;

    // A code beyond its table is no error: the unit's memory or modem stays unknown ("?").
    const std::size_t memoryCode = reply.hexPairAt(1);
    const std::size_t modemCode = reply.hexPairAt(3);
    UnitState unit = unit_.state();
    if (memoryCode < EepromSizeTable.size()) unit.memoryBytes = EepromSizeTable[memoryCode];
    if (modemCode < ModemTypeTable.size()) unit.modem = std::string(ModemTypeTable[modemCode]);
    unit_.set(unit);
    return true;
}

SessionResult ProgrammingMode::fail(ShownProgress& shown, LinkOutcome outcome, bool greeted) {
    unit_.enter(LinkState::Inactive);
    shown.hide();
    // A unit that answered the hello is in programming mode: it is taken out again before the failure is
    // told, and the message says so when it did not confirm.
    const bool left = !greeted || sendDeactivation();
    const std::string text = left ? std::string(lm::ActivationFailed) : lm::activationFailedStillActive();
    tell(prompter_, lm::ActivationErrorTitle, text, MessageIcon::Critical);
    transport_.closePort();
    return {.outcome = outcome, .message = text};
}

} // namespace orb
