#pragma once

namespace orb {

/// What one of the link's commands came to. The boxes have told the user the details; a caller that
/// decides something afterwards (orbctl's exit status, a series' next step) decides on this value and
/// never on the wording of a box.
enum class LinkOutcome {
    Done,          ///< activated (the unit may be programmed), deactivated, read and decoded, or written
    Busy,          ///< another command was running: this one was ignored
    Refused,       ///< the unit is the wrong product or firmware, or a check stopped a write before it began
    NotOpened,     ///< the port would not open
    NotReached,    ///< the unit did not answer as it must: no activation, or a deactivation left unconfirmed
    SizeUnknown,   ///< the unit reported no memory size that is known, so it cannot be read or written
    NotProgrammed, ///< the memory was read whole but holds no valid image
    DecodeFailed,  ///< the memory holds an image whose settings cannot be decoded
    BlockFailed,   ///< the retries on a block ran out, or the line was found out of step at the end
    Cancelled,     ///< Storno ended the command
    PortFailed,    ///< the port failed in the middle of the command: it is closed, the connection inactive
};

} // namespace orb
