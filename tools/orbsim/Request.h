#pragma once

#include "tools/orbsim/Frame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace orb::sim {

/// The requests, each valued by its code byte; a reply carries the code + 0x80.
enum class RequestKind : std::uint8_t {
    Hello = 0x01,
    Identify = 0x02,
    MemoryAndModem = 0x03,
    ReadBlock = 0x04,
    WriteBlock = 0x05,
    Deactivate = 0x06,
};

/// One request the unit understands; address and data are used only by the block commands.
struct Request {
    RequestKind kind = RequestKind::Hello;
    std::uint16_t address = 0;
    std::array<std::uint8_t, 8> data{};
};

/// Recognises a request payload; nothing for an unknown code, a wrong length or a parameter that is not hex.
std::optional<Request> ParseRequest(const Bytes& payload);
/// Describes a request in a few words for the log, e.g. "read 0x0108".
std::string DescribeRequest(const Request& request);

} // namespace orb::sim
