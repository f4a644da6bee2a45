#pragma once

#include "tools/orbsim/Frame.h"

namespace orb::sim {

/// The faults asked for on the command line; a count of 0 means "never".
struct FaultOptions {
    unsigned silentHellos = 0;
    bool silent = false;
    unsigned drop = 0;
    unsigned dropEvery = 0;
    unsigned corrupt = 0;
    unsigned corruptEvery = 0;
    unsigned longReply = 0;
    unsigned garbageReply = 0;
};

enum class ReplyFault { None, Drop, Corrupt, Long, Garbage };

/// Picks what happens to the reply with this number (replies counted from 1); a drop wins over the rest.
ReplyFault FaultForReply(const FaultOptions& faults, unsigned replyNumber);
/// Builds the wire bytes of a reply with the fault applied; a dropped reply has no bytes.
Bytes ReplyBytes(const Bytes& payload, ReplyFault fault);
/// Names a fault for the log ("" for none).
const char* FaultName(ReplyFault fault);

} // namespace orb::sim
