#include "image/HexPair.h"

#include "image/ImageErrors.h"

namespace orb {

namespace {
int digitValue(std::uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
constexpr char UpperDigits[] = "0123456789ABCDEF";
} // namespace

bool IsHexDigit(std::uint8_t character) {
    return digitValue(character) >= 0;
}

std::uint8_t HexPairToByte(std::uint8_t lowDigit, std::uint8_t highDigit) {
    const int low = digitValue(lowDigit);
    const int high = digitValue(highDigit);
    if (low < 0 || high < 0) throw TypeMismatch("not a hexadecimal digit");
    return static_cast<std::uint8_t>(high * 16 + low);
}

std::array<std::uint8_t, 2> ByteToHexPair(std::uint8_t value) {
    return {static_cast<std::uint8_t>(UpperDigits[value % 16]),
            static_cast<std::uint8_t>(UpperDigits[value / 16])};
}

} // namespace orb
