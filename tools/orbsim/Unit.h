#pragma once

#include "tools/orbsim/Frame.h"
#include "tools/orbsim/Request.h"

#include <cstdint>
#include <optional>

namespace orb::sim {

/// What the unit reports about itself when the program identifies it.
struct UnitIdentity {
    std::uint32_t product = 250626; // ORB
    std::uint8_t major = 1;
    std::uint8_t minor = 2;
    std::uint8_t memoryCode = 4; // 2048 bytes
    std::uint8_t modem = 0;
};

/// Returns the EEPROM size behind a memory-size code; codes the unit family does not use get the largest
/// EEPROM, so any block address the program may send has a place.
std::size_t MemoryBytes(std::uint8_t memoryCode);

/// The unit's side of the protocol: answers requests from its identity and its EEPROM.
class Unit {
  public:
    /// Creates a unit with this EEPROM content (resized to the memory size; missing bytes read as erased).
    Unit(const UnitIdentity& identity, Bytes eeprom, std::optional<std::uint16_t> badBlock = std::nullopt);

    /// Carries out one request and returns the reply payload (its code is the request code + 0x80).
    Bytes Answer(const Request& request);
    /// Returns the EEPROM content.
    const Bytes& Eeprom() const { return eeprom_; }

  private:
    std::uint8_t& at(std::uint32_t address);

    UnitIdentity identity_;
    Bytes eeprom_;
    std::optional<std::uint16_t> badBlock_;
};

} // namespace orb::sim
