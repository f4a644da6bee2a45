#include "link/DeviceLink.h"

#include "link/LinkMessages.h"
#include "link/LinkState.h"
#include "link/UnitTransfer.h"

#include <algorithm>
#include <utility>

namespace orb {

namespace lm = link_messages;

namespace {

/// Marks the link busy for one command, also when the command ends with an exception.
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

DeviceLink::DeviceLink(SettingsForm& form, EepromImage& image, Progress& progress, StopToken& stop,
                       SerialPort& port, Waiter& waiter)
    : form_(form), image_(image), progress_(progress), stop_(stop), transport_(port, waiter),
      mode_(form, progress, stop, transport_), blocks_(transport_, image, progress, stop) {}

void DeviceLink::setPorts(std::vector<PortChoice> ports) {
    const std::string chosen = mode_.chosenPort().name();
    const auto kept = std::find_if(ports.begin(), ports.end(),
                                   [&chosen](const PortChoice& port) { return port.name() == chosen; });
    const int index = kept == ports.end() ? 0 : static_cast<int>(kept - ports.begin());
    mode_.setPorts(std::move(ports));
    form_.setChoice(ChoiceField::tabPort, index);
}

LinkOutcome DeviceLink::onDeaClicked() {
    if (form_.unit().connected()) return run(lm::DeactivationTitle, [this] { return mode_.deactivate(); });
    return run(lm::ActivationTitle, [this] { return mode_.activate(); });
}

LinkOutcome DeviceLink::loadFromUnit(TransferScope scope, ReadCheck check) {
    return run(lm::LoadTitle, [this, scope, check] {
        return LoadFromUnit(form_, image_, progress_, blocks_, scope, check);
    });
}

LinkOutcome DeviceLink::saveToUnit(TransferScope scope) {
    // The port is used only once the write has begun: a failure leaves block 0 of the unit in doubt.
    return run(
        lm::SaveTitle, [this, scope] { return SaveToUnit(form_, image_, blocks_, scope); }, true);
}

bool DeviceLink::confirmExit(MessageButtons buttons) {
    if (busy_) return false;
    if (!form_.unit().connected()) return true;
    const Answer answer = form_.view().ask(
        {std::string(lm::ExitTitle), std::string(lm::DeactivateBeforeExit), MessageIcon::Question, buttons});
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::Yes) leaveProgrammingMode();
    return true;
}

LinkOutcome DeviceLink::leaveProgrammingMode() {
    if (!form_.unit().connected()) return LinkOutcome::Done;
    return run(lm::DeactivationTitle, [this] { return mode_.deactivate(); });
}

void DeviceLink::letGo() {
    transport_.closePort();
    SetLinkState(form_, LinkState::Inactive);
}

template <typename Operation>
LinkOutcome DeviceLink::run(std::string_view title, Operation operation, bool writesUnit) {
    if (busy_) return LinkOutcome::Busy;
    BusyScope busy(busy_);
    stop_.begin();
    try {
        return operation();
    } catch (const PortError&) {
        // The cable or the port is gone: the unit cannot be reached any more, whatever state it is in. The
        // progress window went with the operation's scope.
        letGo();
        const std::string text = lm::portFailed(mode_.openedPortName());
        tell(form_.view(), title, writesUnit ? lm::withNoValidSettings(text) : text, MessageIcon::Critical);
        return LinkOutcome::PortFailed;
    }
}

} // namespace orb
