#include "tools/orbsim/Frame.h"

#include "image/HexPair.h"

#include <numeric>

namespace orb::sim {

std::uint8_t FrameChecksum(const Bytes& payload) {
    const std::uint32_t sum = std::accumulate(payload.begin(), payload.end(), std::uint32_t{0});
    const auto checksum = static_cast<std::uint8_t>((sum + 1) % 256);
    return checksum == FrameEnd ? 12 : checksum;
}

Bytes BuildFrame(const Bytes& payload) {
    Bytes frame = payload;
    frame.push_back(FrameChecksum(payload));
    frame.push_back(FrameEnd);
    return frame;
}

std::optional<Bytes> OpenFrame(const Bytes& frame) {
    if (frame.size() < 2 || frame.back() != FrameEnd) return std::nullopt;
    Bytes payload(frame.begin(), frame.end() - 2);
    if (FrameChecksum(payload) != frame[frame.size() - 2]) return std::nullopt;
    return payload;
}

void AppendHexPair(Bytes& payload, std::uint8_t value) {
    const auto pair = ByteToHexPair(value);
    payload.insert(payload.end(), pair.begin(), pair.end());
}

} // namespace orb::sim
