#include "image/DecimalNumber.h"

#include "image/ImageErrors.h"

namespace orb {

namespace {
constexpr int MaxWholeDigits = 12;
constexpr int MaxFractionDigits = 18;

__int128 floorDivide(__int128 numerator, __int128 denominator) {
    __int128 quotient = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0) --quotient;
    return quotient;
}
} // namespace

DecimalNumber DecimalNumber::parse(const std::string& text) {
    std::size_t position = 0;
    const auto skipBlanks = [&] {
        while (position < text.size() && text[position] == ' ')
            ++position;
    };
    const auto isDigit = [&] {
        return position < text.size() && text[position] >= '0' && text[position] <= '9';
    };

    skipBlanks();
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        negative = text[position++] == '-';

    __int128 numerator = 0;
    __int128 denominator = 1;
    int wholeDigits = 0;
    int fractionDigits = 0;
    bool anyDigit = false;
    for (; isDigit(); ++position) {
        anyDigit = true;
        numerator = numerator * 10 + (text[position] - '0');
        if (numerator != 0 && ++wholeDigits > MaxWholeDigits) throw Overflow("number too large: " + text);
    }
    if (position < text.size() && (text[position] == '.' || text[position] == ',')) {
        for (++position; isDigit(); ++position) {
            anyDigit = true;
            if (++fractionDigits > MaxFractionDigits) continue;
            numerator = numerator * 10 + (text[position] - '0');
            denominator *= 10;
        }
    }
    skipBlanks();
    if (!anyDigit || position != text.size()) throw TypeMismatch("not a number: '" + text + "'");
    return {negative ? -numerator : numerator, denominator};
}

DecimalNumber DecimalNumber::times(std::int64_t numerator, std::int64_t denominator) const {
    return {numerator_ * numerator, denominator_ * denominator};
}

DecimalNumber DecimalNumber::plus(std::int64_t whole) const {
    return {numerator_ + whole * denominator_, denominator_};
}

std::int64_t DecimalNumber::floor() const {
    return static_cast<std::int64_t>(floorDivide(numerator_, denominator_));
}

std::int64_t DecimalNumber::ceil() const {
    return static_cast<std::int64_t>(-floorDivide(-numerator_, denominator_));
}

std::int64_t DecimalNumber::truncated() const {
    return static_cast<std::int64_t>(numerator_ / denominator_);
}

std::int64_t DecimalNumber::roundedHalfEven() const {
    const __int128 below = floorDivide(numerator_, denominator_);
    const __int128 twiceRemainder = 2 * (numerator_ - below * denominator_);
    if (twiceRemainder > denominator_ || (twiceRemainder == denominator_ && below % 2 != 0))
        return static_cast<std::int64_t>(below + 1);
    return static_cast<std::int64_t>(below);
}

} // namespace orb
