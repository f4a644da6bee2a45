#pragma once

#include "link/TransferBlock.h"

#include <cstdint>

namespace orb {

/// The request codes of the unit's protocol; the unit answers each with the code + 0x80.
enum class Command : std::uint8_t {
    Hello = 0x01,
    Identify = 0x02,
    MemoryAndModem = 0x03,
    ReadBlock = 0x04,
    WriteBlock = 0x05,
    Deactivate = 0x06,
};

/// Starts a request frame with the command's code.
inline TransferBlock RequestFor(Command command) {
    return TransferBlock::request(static_cast<std::uint8_t>(command));
}

/// Tells whether a received block is the unit's answer to the command with at least minimumCount bytes.
inline bool IsReplyTo(const TransferBlock& reply, Command command, int minimumCount) {
    return reply.count >= minimumCount && reply.code() == (static_cast<std::uint8_t>(command) | 0x80);
}

} // namespace orb
