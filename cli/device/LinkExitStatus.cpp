#include "cli/device/LinkExitStatus.h"

namespace orb {

ExitStatus ExitStatusOf(LinkOutcome outcome) {
    // Every outcome is listed, so that a new one cannot reach a script without a decision here.
    switch (outcome) {
    case LinkOutcome::Done:
        return ExitStatus::Success;
    case LinkOutcome::Refused:
        return ExitStatus::Refused;
    case LinkOutcome::Busy:
    case LinkOutcome::NotOpened:
    case LinkOutcome::NotReached:
    case LinkOutcome::SizeUnknown:
    case LinkOutcome::NotProgrammed:
    case LinkOutcome::DecodeFailed:
    case LinkOutcome::BlockFailed:
    case LinkOutcome::Cancelled:
    case LinkOutcome::PortFailed:
        break;
    }
    return ExitStatus::Failure;
}

} // namespace orb
