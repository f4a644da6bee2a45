#pragma once

#include "tools/orbsim/Frame.h"

#include <map>
#include <set>
#include <string>

namespace orb::sim {

/// The replies a fault strikes: the ones named (counted from 1) and every Nth (0: none).
struct FaultTrigger {
    std::set<unsigned> replies;
    unsigned every = 0;

    /// Tells whether the fault strikes reply n.
    bool hits(unsigned n) const { return replies.contains(n) || (every != 0 && n % every == 0); }
};

/// The faults asked for on the command line.
struct FaultOptions {
    unsigned silentHellos = 0;
    bool silent = false;
    FaultTrigger lostRequest; ///< request frames (counted from 1) the unit never takes in
    FaultTrigger drop;
    FaultTrigger corrupt;
    FaultTrigger longReply;
    FaultTrigger garbageReply;
    FaultTrigger keptSum; ///< damage the frame checksum cannot see
    FaultTrigger twice;
    FaultTrigger noise;
    std::map<unsigned, unsigned> lateMs; ///< reply number → how late it is sent, in ms
    unsigned lateEvery = 0;              ///< every Nth reply is sent lateEveryMs late
    unsigned lateEveryMs = 0;
    std::map<unsigned, unsigned> splitMs;  ///< reply number → the gap between its three bursts, in ms
    std::map<unsigned, unsigned> repeatMs; ///< reply number → how long after its first copy it is sent again
};

/// What spoils a reply's bytes.
enum class ReplyFault { None, Drop, Corrupt, Long, Garbage, KeptSum };

/// Everything that happens to one reply: its bytes, and when and how they go out.
struct ReplyPlan {
    ReplyFault fault = ReplyFault::None;
    unsigned lateMs = 0;
    bool twice = false;
    bool noise = false;
    unsigned splitMs = 0;
    unsigned repeatMs = 0;

    /// Describes the plan for the log ("" when the reply goes out as it should).
    std::string describe() const;
};

/// Plans the reply with this number (replies counted from 1); a drop wins over the other faults.
ReplyPlan PlanForReply(const FaultOptions& faults, unsigned replyNumber);
/// Builds the wire bytes of a reply with the fault applied; a dropped reply has no bytes.
Bytes ReplyBytes(const Bytes& payload, ReplyFault fault);
/// Returns the bytes line noise puts in front of a reply: no terminator among them.
Bytes NoiseBytes();

} // namespace orb::sim
