#include "cli/json/ReservedBytes.h"

namespace orb {

namespace {
constexpr std::int32_t FirstReserved = 27;
constexpr std::int32_t LastReserved = 63;
} // namespace

ReservedBytes ReadReservedBytes(const EepromImage& image) {
    ReservedBytes reserved;
    for (std::size_t k = 0; k < reserved.at27to31.size(); ++k)
        reserved.at27to31[k] = image.getByte(FirstReserved + static_cast<std::int32_t>(k));
    reserved.at63 = image.getByte(LastReserved);
    return reserved;
}

void WriteReservedBytes(const ReservedBytes& reserved, EepromImage& image) {
    for (std::size_t k = 0; k < reserved.at27to31.size(); ++k)
        image.putByte(FirstReserved + static_cast<std::int32_t>(k), reserved.at27to31[k]);
    image.putByte(LastReserved, reserved.at63);
}

} // namespace orb
