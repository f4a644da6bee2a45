#include "link/session/UnitSession.h"

#include "image/DecodeImage.h"
#include "link/LinkMessages.h"

#include <utility>

namespace orb {

namespace lm = link_messages;

namespace {

/// Marks the session busy for one call, also when the call ends with an exception.
class BusyScope {
  public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& busy_;
};

} // namespace

UnitSession::UnitSession(Prompter& prompter, EepromImage& image, Progress& progress, StopToken& stop,
                         SerialPort& port, Waiter& waiter)
    : prompter_(prompter), image_(image), stop_(stop), transport_(port, waiter),
      mode_(prompter, progress, stop, transport_, unit_), blocks_(transport_, image, progress, stop) {}

SessionResult UnitSession::activate(const PortChoice& port) {
    return run(lm::ActivationTitle, [&] { return mode_.activate(port); });
}

SessionResult UnitSession::deactivate() {
    return run(lm::DeactivationTitle, [&] { return mode_.deactivate(); });
}

SessionResult UnitSession::leaveProgrammingMode() {
    if (!unit().connected()) return {};
    return deactivate();
}

void UnitSession::letGo() {
    transport_.closePort();
    unit_.enter(LinkState::Inactive);
}

std::optional<int> UnitSession::memorySizeFor(std::string_view title) {
    const std::optional<int> size = unit().memoryBytes;
    if (size && *size > 0) return size;
    tell(prompter_, title, lm::MemorySizeUnknown, MessageIcon::Critical);
    return std::nullopt;
}

SessionResult UnitSession::read(TransferScope scope, ReadCheck check) {
    bool moved = false; // a port that fails ends the call with what moved until then
    SessionResult result = run(lm::LoadTitle, [&] {
        const std::optional<int> memorySize = memorySizeFor(lm::LoadTitle);
        if (!memorySize)
            return SessionResult{.outcome = LinkOutcome::SizeUnknown,
                                 .message = std::string(lm::MemorySizeUnknown)};
        moved = true;
        const BlockTransfer::Outcome read = scope == TransferScope::WholeMemory
                                                ? blocks_.readImage(*memorySize, check)
                                                : blocks_.readSettingsImage(*memorySize, check);
        SessionResult ended;
        if (read == BlockTransfer::Outcome::Failed) {
            const std::vector<int>& disagreeing = blocks_.disagreeingBlocks();
            ended =
                told(LinkOutcome::BlockFailed, lm::LoadTitle,
                     disagreeing.empty() ? std::string(lm::ReadBlockFailed) : lm::readsDisagree(disagreeing),
                     MessageIcon::Critical);
        } else if (read == BlockTransfer::Outcome::Stopped) {
            ended = told(LinkOutcome::Cancelled, lm::LoadTitle, std::string(lm::ReadCancelled),
                         MessageIcon::Information);
        } else if (!CheckImageSignature(image_) || !ImageFitsIn(image_, *memorySize)) {
            // A header whose texts would lie beyond the memory read is no image of this unit: the buffer's
            // bytes there are what an earlier file or unit left.
            ended = told(LinkOutcome::NotProgrammed, lm::LoadTitle, std::string(lm::NotProgrammed),
                         MessageIcon::Exclamation);
        }
        return ended;
    });
    if (moved) result.counts = blocks_.counts();
    return result;
}

SessionResult UnitSession::write(int bytes, bool verify) {
    bool moved = false;
    SessionResult result = run(
        lm::SaveTitle,
        [&] {
            moved = true;
            const BlockTransfer::Outcome written = blocks_.writeImage(bytes, verify);
            // Either way the write has begun: the unit holds no valid settings now.
            SessionResult ended =
                written == BlockTransfer::Outcome::Done
                    ? told(LinkOutcome::Done, lm::SaveTitle, std::string(lm::WriteDone),
                           MessageIcon::Information)
                : written == BlockTransfer::Outcome::Failed
                    ? told(LinkOutcome::BlockFailed, lm::SaveTitle,
                           lm::withNoValidSettings(lm::WriteBlockFailed), MessageIcon::Critical)
                    : told(LinkOutcome::Cancelled, lm::SaveTitle, lm::withNoValidSettings(lm::WriteCancelled),
                           MessageIcon::Information);
            ended.unitLeftWithoutSettings = written != BlockTransfer::Outcome::Done;
            return ended;
        },
        true);
    if (moved) result.counts = blocks_.counts();
    return result;
}

SessionResult UnitSession::told(LinkOutcome outcome, std::string_view title, std::string text,
                                MessageIcon icon) {
    tell(prompter_, title, text, icon);
    return {.outcome = outcome, .message = std::move(text)};
}

template <typename Call> SessionResult UnitSession::run(std::string_view title, Call call, bool writesUnit) {
    if (busy_) return {.outcome = LinkOutcome::Busy};
    BusyScope busy(busy_);
    stop_.begin();
    SessionResult result;
    try {
        result = call();
    } catch (const PortError&) {
        // The cable or the port is gone: the unit cannot be reached any more, whatever state it is in. The
        // progress window went with the call's scope.
        letGo();
        const std::string text = lm::portFailed(mode_.openedPortName());
        result = told(LinkOutcome::PortFailed, title, writesUnit ? lm::withNoValidSettings(text) : text,
                      MessageIcon::Critical);
        result.unitLeftWithoutSettings = writesUnit;
    }
    // A call that ended on a stop it looked at says so already; any other carries what the token saw.
    if (!result.stoppedBy) result.stoppedBy = stop_.reason();
    return result;
}

} // namespace orb
