#include "image/EepromImage.h"

#include "image/Checksum.h"
#include "image/ImageErrors.h"

#include <limits>
#include <string>

namespace orb {

namespace {
void requireAddress(std::int64_t address) {
    if (address < 0 || address >= EepromImage::Size)
        throw SubscriptOutOfRange("image address " + std::to_string(address) + " outside 0..65535");
}
} // namespace

void EepromImage::putByte(std::int32_t address, int value) {
    requireAddress(address);
    if (value < 0 || value > 255) throw Overflow("byte value " + std::to_string(value) + " outside 0..255");
    bytes_[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(value);
}

std::uint8_t EepromImage::getByte(std::int32_t address) const {
    requireAddress(address);
    return bytes_[static_cast<std::size_t>(address)];
}

void EepromImage::putWord(std::int64_t value, std::int32_t address) {
    if (value < 0 || value > 65535)
        throw Overflow("word value " + std::to_string(value) + " outside 0..65535");
    if (address == std::numeric_limits<std::int32_t>::max()) throw Overflow("word address overflows");
    // The high byte is stored first, so an address whose high byte falls outside the buffer stores nothing.
    putByte(address + 1, static_cast<int>(value / 256));
    putByte(address, static_cast<int>(value % 256));
}

int EepromImage::getWord(std::int32_t address) const {
    if (address == std::numeric_limits<std::int32_t>::max()) throw Overflow("word address overflows");
    return getByte(address + 1) * 256 + getByte(address);
}

std::uint8_t HeaderChecksum(const EepromImage& image) {
    std::uint32_t sum = 0;
    for (std::int32_t address = 0; address <= 25; ++address)
        sum += image.getByte(address);
    return CarriageReturnFreeChecksum(sum);
}

bool CheckImageSignature(const EepromImage& image) {
    return image.getWord(24) == 10010 && image.getByte(26) == HeaderChecksum(image);
}

} // namespace orb
