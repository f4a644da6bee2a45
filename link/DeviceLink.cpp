#include "link/DeviceLink.h"

#include "link/LinkMessages.h"
#include "link/UnitTransfer.h"

#include <algorithm>
#include <utility>

namespace orb {

namespace lm = link_messages;

DeviceLink::DeviceLink(SettingsForm& form, EepromImage& image, Progress& progress, StopToken& stop,
                       SerialPort& port, Waiter& waiter)
    : form_(form), image_(image), progress_(progress),
      session_(form.view(), image, progress, stop, port, waiter) {
    session_.showUnitIn([this](const UnitState& unit) { form_.setUnitState(unit); });
}

void DeviceLink::setPorts(std::vector<PortChoice> ports) {
    const std::string chosen = ports_.at(form_.options().tabPort).name();
    const auto kept = std::find_if(ports.begin(), ports.end(),
                                   [&chosen](const PortChoice& port) { return port.name() == chosen; });
    const int index = kept == ports.end() ? 0 : static_cast<int>(kept - ports.begin());
    ports_ = std::move(ports);
    form_.setChoice(ChoiceField::tabPort, index);
}

LinkOutcome DeviceLink::onDeaClicked() {
    if (session_.unit().connected()) return session_.deactivate().outcome;
    return session_.activate(ports_.at(form_.options().tabPort)).outcome;
}

LinkOutcome DeviceLink::loadFromUnit(TransferScope scope, ReadCheck check) {
    if (session_.busy()) return LinkOutcome::Busy;
    return LoadFromUnit(form_, image_, progress_, session_, scope, check).outcome;
}

LinkOutcome DeviceLink::saveToUnit(TransferScope scope) {
    if (session_.busy()) return LinkOutcome::Busy;
    return SaveToUnit(form_, image_, session_, scope).outcome;
}

bool DeviceLink::confirmExit(MessageButtons buttons) {
    if (session_.busy()) return false;
    if (!session_.unit().connected()) return true;
    const Answer answer = form_.view().ask(
        {std::string(lm::ExitTitle), std::string(lm::DeactivateBeforeExit), MessageIcon::Question, buttons});
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::Yes) leaveProgrammingMode();
    return true;
}

LinkOutcome DeviceLink::leaveProgrammingMode() {
    return session_.leaveProgrammingMode().outcome;
}

} // namespace orb
