#include "image/PhoneNumber.h"

#include "image/HexPair.h"

#include <cstdio>

namespace orb {

std::string EncodePhoneNumber(const std::string& number) {
    if (number.empty()) return "00";
    const bool international = number.front() == '+';
    std::string digits = international ? number.substr(1) : number;
    const unsigned count = static_cast<unsigned>(digits.size());
    if (count % 2 != 0) digits += 'F';

    char lengthField[8];
    std::snprintf(lengthField, sizeof lengthField, "%02X", count & 0xFFu);
    std::string encoded = lengthField;
    encoded += international ? "91" : "81";
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        encoded += digits[i + 1];
        encoded += digits[i];
    }
    return encoded;
}

std::string DecodePhoneNumber(const std::string& encoded) {
    const auto at = [&](std::size_t position) -> std::uint8_t { // 1-based; 0 beyond the end
        return position <= encoded.size() ? static_cast<std::uint8_t>(encoded[position - 1]) : 0;
    };
    // The length field reads high digit first, as a hexadecimal literal does.
    unsigned count = HexPairToByte(at(2), at(1));
    std::string number = encoded.substr(2 < encoded.size() ? 2 : encoded.size(), 2) == "91" ? "+" : "";
    if (count % 2 != 0) ++count;
    for (unsigned i = 1; i <= count / 2; ++i) {
        if (2 * i + 4 <= encoded.size()) number += encoded[2 * i + 3];
        if (2 * i + 3 <= encoded.size()) number += encoded[2 * i + 2];
    }
    if (!number.empty() && number.back() == 'F') number.pop_back();
    return number;
}

} // namespace orb
