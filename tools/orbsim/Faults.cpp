#include "tools/orbsim/Faults.h"

namespace orb::sim {

namespace {

// Longer than the 101 bytes any receiver keeps for a frame, and ends like a frame.
constexpr std::size_t LongReplyBytes = 300;

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
    case ReplyFault::KeptSum:
        return "reply damaged, checksum kept";
    }
    return "";
}

/// Moves one hex digit up by one and a later one down by one: the bytes' sum, and so the frame checksum,
/// stays as it was, and both stay hex digits. A payload without two such digits is left as it is.
Bytes WithSumKept(Bytes payload) {
    auto canRise = [](std::uint8_t c) { return (c >= '0' && c <= '8') || (c >= 'A' && c <= 'E'); };
    auto canFall = [](std::uint8_t c) { return (c >= '1' && c <= '9') || (c >= 'B' && c <= 'F'); };
    for (std::size_t up = 1; up < payload.size(); ++up) {
        if (!canRise(payload[up])) continue;
        for (std::size_t down = up + 1; down < payload.size(); ++down) {
            if (!canFall(payload[down])) continue;
            ++payload[up];
            --payload[down];
            return payload;
        }
    }
    return payload;
}

} // namespace

std::string ReplyPlan::describe() const {
    std::string text = FaultName(fault);
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (fault == ReplyFault::Drop) return text;
    if (noise) add("noise in front");
    if (lateMs) add(std::to_string(lateMs) + " ms late");
    if (splitMs) add("in three bursts " + std::to_string(splitMs) + " ms apart");
    if (twice) add("sent twice");
    if (repeatMs) add("sent again " + std::to_string(repeatMs) + " ms later");
    return text;
}

ReplyPlan PlanForReply(const FaultOptions& faults, unsigned n) {
    ReplyPlan plan;
    if (faults.drop.hits(n))
        plan.fault = ReplyFault::Drop;
    else if (faults.corrupt.hits(n))
        plan.fault = ReplyFault::Corrupt;
    else if (faults.longReply.hits(n))
        plan.fault = ReplyFault::Long;
    else if (faults.garbageReply.hits(n))
        plan.fault = ReplyFault::Garbage;
    else if (faults.keptSum.hits(n))
        plan.fault = ReplyFault::KeptSum;
    if (const auto late = faults.lateMs.find(n); late != faults.lateMs.end()) plan.lateMs = late->second;
    if (faults.lateEvery != 0 && n % faults.lateEvery == 0) plan.lateMs += faults.lateEveryMs;
    if (const auto split = faults.splitMs.find(n); split != faults.splitMs.end())
        plan.splitMs = split->second;
    if (const auto repeat = faults.repeatMs.find(n); repeat != faults.repeatMs.end())
        plan.repeatMs = repeat->second;
    plan.twice = faults.twice.hits(n);
    plan.noise = faults.noise.hits(n);
    return plan;
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
    case ReplyFault::KeptSum:
        return BuildFrame(WithSumKept(payload));
    }
    return {};
}

Bytes NoiseBytes() {
    return {0x00, 0xFF, 0x55, 0xAA, 0x7F};
}

} // namespace orb::sim
