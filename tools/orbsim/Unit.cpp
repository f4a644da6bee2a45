#include "tools/orbsim/Unit.h"

namespace orb::sim {

namespace {
constexpr std::uint8_t ErasedByte = 0xFF;
constexpr std::uint8_t LargestMemoryCode = 9;
} // namespace

std::size_t MemoryBytes(std::uint8_t memoryCode) {
    return std::size_t{128} << (memoryCode <= LargestMemoryCode ? memoryCode : LargestMemoryCode);
}

Unit::Unit(const UnitIdentity& identity, Bytes eeprom, std::optional<std::uint16_t> badBlock)
    : identity_(identity), eeprom_(std::move(eeprom)), badBlock_(badBlock) {
    eeprom_.resize(MemoryBytes(identity.memoryCode), ErasedByte);
}

// Like an EEPROM whose upper address lines are not connected: addresses beyond the size wrap around.
std::uint8_t& Unit::at(std::uint32_t address) {
    return eeprom_[address % eeprom_.size()];
}

Bytes Unit::Answer(const Request& request) {
    Bytes reply{static_cast<std::uint8_t>(static_cast<std::uint8_t>(request.kind) | 0x80)};
    switch (request.kind) {
    case RequestKind::Hello:
    case RequestKind::Deactivate:
        break;
    case RequestKind::Identify:
        for (int shift : {0, 8, 16})
            AppendHexPair(reply, static_cast<std::uint8_t>(identity_.product >> shift));
        AppendHexPair(reply, identity_.minor);
        AppendHexPair(reply, identity_.major);
        break;
    case RequestKind::MemoryAndModem:
        AppendHexPair(reply, identity_.memoryCode);
        AppendHexPair(reply, identity_.modem);
        break;
    case RequestKind::ReadBlock: {
        const std::uint8_t spoil = badBlock_ == request.address ? 0xFF : 0x00;
        for (std::uint32_t k = 0; k < 8; ++k)
            AppendHexPair(reply, at(request.address + k) ^ spoil);
        break;
    }
    case RequestKind::WriteBlock:
        for (std::uint32_t k = 0; k < 8; ++k)
            at(request.address + k) = request.data[k];
        break;
    }
    return reply;
}

} // namespace orb::sim
