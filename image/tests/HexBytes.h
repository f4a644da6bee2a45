#pragma once

#include "image/EepromImage.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace orb::test {

/// Reads bytes written as blank-separated hexadecimal numbers ("40 00 1A 27").
inline std::vector<std::uint8_t> hexBytes(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::uint8_t> bytes;
    for (unsigned value; in >> std::hex >> value;)
        bytes.push_back(static_cast<std::uint8_t>(value));
    return bytes;
}

/// The image bytes from address on, count of them.
inline std::vector<std::uint8_t> imageBytes(const EepromImage& image, std::int32_t address,
                                            std::int32_t count) {
    std::vector<std::uint8_t> bytes;
    for (std::int32_t i = 0; i < count; ++i)
        bytes.push_back(image.getByte(address + i));
    return bytes;
}

/// Stores bytes from address on.
inline void putBytes(EepromImage& image, std::int32_t address, const std::vector<std::uint8_t>& bytes) {
    for (const std::uint8_t byte : bytes)
        image.putByte(address++, byte);
}

} // namespace orb::test
