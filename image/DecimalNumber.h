#pragma once

#include <cstdint>
#include <string>

namespace orb {

/// A number as a setting text holds it ("007", "2.5", " -3 "), kept exactly as a fraction so that the
/// image's rounding rules (floor, ceiling, ties to even) decide on the true value, never on a binary
/// approximation. Places after the eighteenth behind the decimal point are dropped.
class DecimalNumber {
  public:
    /// Parses optional blanks, an optional sign, digits with an optional '.' or ',' and more digits.
    /// Throws TypeMismatch for anything else and Overflow for more than twelve digits before the point.
    static DecimalNumber parse(const std::string& text);

    /// Returns this number times numerator / denominator (denominator > 0).
    DecimalNumber times(std::int64_t numerator, std::int64_t denominator) const;
    /// Returns this number plus a whole number.
    DecimalNumber plus(std::int64_t whole) const;

    /// Returns the largest whole number not above this one.
    std::int64_t floor() const;
    /// Returns the smallest whole number not below this one.
    std::int64_t ceil() const;
    /// Returns the whole part, dropping the fraction toward zero.
    std::int64_t truncated() const;
    /// Returns the nearest whole number, a tie going to the even neighbour.
    std::int64_t roundedHalfEven() const;

  private:
    DecimalNumber(__int128 numerator, __int128 denominator)
        : numerator_(numerator), denominator_(denominator) {}

    __int128 numerator_;
    __int128 denominator_; ///< always positive
};

} // namespace orb
