#include "tools/orbsim/Faults.h"

namespace orb::sim {

namespace {

bool hits(unsigned once, unsigned every, unsigned n) {
    return n == once || (every != 0 && n % every == 0);
}

// Longer than the 101 bytes any receiver keeps for a frame, and ends like a frame.
constexpr std::size_t LongReplyBytes = 300;

} // namespace

ReplyFault FaultForReply(const FaultOptions& faults, unsigned n) {
    if (hits(faults.drop, faults.dropEvery, n)) return ReplyFault::Drop;
    if (hits(faults.corrupt, faults.corruptEvery, n)) return ReplyFault::Corrupt;
    if (n == faults.longReply) return ReplyFault::Long;
    if (n == faults.garbageReply) return ReplyFault::Garbage;
    return ReplyFault::None;
}

Bytes ReplyBytes(const Bytes& payload, ReplyFault fault) {
    switch (fault) {
    case ReplyFault::None:
        return BuildFrame(payload);
    case ReplyFault::Drop:
        return {};
    case ReplyFault::Corrupt: {
        Bytes frame = BuildFrame(payload);
        auto& checksum = frame[frame.size() - 2];
        // One off, but never the terminator, so the frame still ends where it should.
        checksum = checksum + 1 == FrameEnd ? FrameEnd + 1 : checksum + 1;
        return frame;
    }
    case ReplyFault::Long: {
        Bytes junk(LongReplyBytes, 'J');
        junk.back() = FrameEnd;
        return junk;
    }
    case ReplyFault::Garbage: {
        // Right code and length, but no parameter is a hex digit; a reply without parameters gets two.
        Bytes garbage(payload.size() > 1 ? payload.size() : 3, 'G');
        garbage[0] = payload[0];
        return BuildFrame(garbage);
    }
    }
    return {};
}

const char* FaultName(ReplyFault fault) {
    switch (fault) {
    case ReplyFault::None:
        return "";
    case ReplyFault::Drop:
        return "reply dropped";
    case ReplyFault::Corrupt:
        return "reply with wrong checksum";
    case ReplyFault::Long:
        return "overlong junk reply";
    case ReplyFault::Garbage:
        return "reply with non-hex characters";
    }
    return "";
}

} // namespace orb::sim
