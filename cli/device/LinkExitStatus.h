#pragma once

#include "cli/CliError.h"
#include "link/LinkOutcome.h"

namespace orb {

/// Returns the status orbctl ends with when a step with the unit came to outcome: the one place where
/// what the link did becomes an exit status.
ExitStatus ExitStatusOf(LinkOutcome outcome);

} // namespace orb
