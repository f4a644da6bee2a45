#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace orb {

/// Returns the SHA-256 of the bytes in lower-case hex, as sha256sum prints it: how the series' log names
/// an image and how a unit holding it is recognised.
std::string Sha256Hex(std::span<const std::uint8_t> bytes);

} // namespace orb
