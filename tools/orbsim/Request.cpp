#include "tools/orbsim/Request.h"

#include "image/HexPair.h"

#include <algorithm>
#include <cstdio>

namespace orb::sim {

namespace {

struct RequestShape {
    RequestKind kind;
    std::size_t length;
};

// Every request has a fixed length; the block commands carry their numbers as hex pairs.
constexpr RequestShape Shapes[] = {
    {RequestKind::Hello, 1},     {RequestKind::Identify, 1},    {RequestKind::MemoryAndModem, 1},
    {RequestKind::ReadBlock, 5}, {RequestKind::WriteBlock, 21}, {RequestKind::Deactivate, 3},
};

std::optional<std::uint8_t> hexByteAt(const Bytes& payload, std::size_t pos) {
    if (!IsHexDigit(payload[pos]) || !IsHexDigit(payload[pos + 1])) return std::nullopt;
    return HexPairToByte(payload[pos], payload[pos + 1]);
}

} // namespace

std::optional<Request> ParseRequest(const Bytes& payload) {
    if (payload.empty()) return std::nullopt;
    const auto* shape = std::find_if(std::begin(Shapes), std::end(Shapes), [&](const RequestShape& s) {
        return static_cast<std::uint8_t>(s.kind) == payload[0];
    });
    if (shape == std::end(Shapes) || payload.size() != shape->length) return std::nullopt;

    Request request{shape->kind};
    if (request.kind == RequestKind::Deactivate) {
        if (payload[1] != 0xAA || payload[2] != 0x55) return std::nullopt;
        return request;
    }
    // Parameters after the code: address low, address high, then for a write the eight block bytes.
    std::vector<std::uint8_t> numbers;
    for (std::size_t pos = 1; pos + 1 < payload.size(); pos += 2) {
        const auto value = hexByteAt(payload, pos);
        if (!value) return std::nullopt;
        numbers.push_back(*value);
    }
    if (!numbers.empty()) request.address = static_cast<std::uint16_t>(numbers[0] | numbers[1] << 8);
    for (std::size_t k = 2; k < numbers.size(); ++k)
        request.data[k - 2] = numbers[k];
    return request;
}

std::string DescribeRequest(const Request& request) {
    char text[64];
    switch (request.kind) {
    case RequestKind::Hello:
        return "hello";
    case RequestKind::Identify:
        return "identify";
    case RequestKind::MemoryAndModem:
        return "memory-and-modem";
    case RequestKind::Deactivate:
        return "deactivate";
    case RequestKind::ReadBlock:
        std::snprintf(text, sizeof text, "read 0x%04X", request.address);
        return text;
    case RequestKind::WriteBlock: {
        const auto& d = request.data;
        std::snprintf(text, sizeof text, "write 0x%04X = %02X %02X %02X %02X %02X %02X %02X %02X",
                      request.address, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
        return text;
    }
    }
    return "unknown";
}

} // namespace orb::sim
