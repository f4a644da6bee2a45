#pragma once

#include "link/TransferBlock.h"

#include <cstdint>

namespace orb {

/// The request codes of the unit's protocol; the unit answers each with the code + 0x80.
enum class RequestCode : std::uint8_t {
    Hello = 0x01,
    Identify = 0x02,
    MemoryAndModem = 0x03,
    ReadBlock = 0x04,
    WriteBlock = 0x05,
    Deactivate = 0x06,
};

/// Starts a request frame with the code.
inline TransferBlock RequestFor(RequestCode code) {
    return TransferBlock::request(static_cast<std::uint8_t>(code));
}

/// Tells whether a received block is the unit's answer to a request with the code, with at least
/// minimumCount bytes.
inline bool IsReplyTo(const TransferBlock& reply, RequestCode code, int minimumCount) {
    return reply.count >= minimumCount && reply.code() == (static_cast<std::uint8_t>(code) | 0x80);
}

} // namespace orb
