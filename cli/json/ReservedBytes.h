#pragma once

#include "image/EepromImage.h"

#include <array>
#include <cstdint>

namespace orb {

/// The image bytes that belong to no setting (addresses 27..31 and 63): the encoder leaves them as the
/// buffer holds them, so they travel beside the settings to keep a file whole.
struct ReservedBytes {
    std::array<std::uint8_t, 5> at27to31{};
    std::uint8_t at63 = 0;

    bool operator==(const ReservedBytes&) const = default;
};

/// Reads the reserved bytes out of the image.
ReservedBytes ReadReservedBytes(const EepromImage& image);
/// Stores the reserved bytes into the image.
void WriteReservedBytes(const ReservedBytes& reserved, EepromImage& image);

} // namespace orb
