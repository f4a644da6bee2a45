#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace orb {

/// Picks the Czech form of a noun for a whole count: one (1 blok), few (2 to 4 bloky) or many (0 and 5 or
/// more: 5 bloků, also 22 bloků, as the common Czech plural rules have it).
inline std::string_view CzechPlural(long long count, std::string_view one, std::string_view few,
                                    std::string_view many) {
    if (count == 1) return one;
    if (count >= 2 && count <= 4) return few;
    return many;
}

/// Formats a number with the given places after a decimal comma, as Czech writes it ("3,6").
inline std::string CzechDecimal(double value, int places) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    std::string result = text;
    if (const auto point = result.find('.'); point != std::string::npos) result[point] = ',';
    return result;
}

} // namespace orb
