#include "link/session/StopToken.h"

namespace orb {

void StopToken::begin() {
    requested_.reset();
    seen_.reset();
}

std::optional<StopReason> StopToken::poll() {
    if (!seen_) seen_ = lasting_;
    if (!seen_ && source_) seen_ = source_();
    if (!seen_) seen_ = requested_;
    if (!seen_ && deadline_ && Clock::now() >= *deadline_) seen_ = StopReason::Deadline;
    return seen_;
}

} // namespace orb
