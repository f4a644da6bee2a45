#pragma once

#include "common/Progress.h"
#include "link/LinkOutcome.h"
#include "link/session/StopToken.h"

#include <optional>
#include <string>

namespace orb {

/// What one call of the unit session came to, as values: callers decide on these, never on a box's text.
struct SessionResult {
    LinkOutcome outcome = LinkOutcome::Done;
    /// The text of the box that told how the call ended (the user has seen it); empty when none did.
    std::string message{};
    /// What stopped the call early, if anything did (Storno, a signal, a deadline, the series done).
    std::optional<StopReason> stoppedBy{};
    /// What the call's block transfers moved.
    TransferCounts counts{};
    /// A write began and did not end: the unit holds no valid settings until it is written again.
    bool unitLeftWithoutSettings = false;
};

} // namespace orb
