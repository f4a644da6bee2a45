#include "image/DecimalNumber.h"

#include "image/ImageErrors.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

struct RoundingCase {
    const char* text;
    std::int64_t floor, ceil, truncated, roundedHalfEven;
};

void PrintTo(const RoundingCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class DecimalRounding : public testing::TestWithParam<RoundingCase> {};

TEST_P(DecimalRounding, RoundsTheExactValue) {
    const DecimalNumber number = DecimalNumber::parse(GetParam().text);
    EXPECT_EQ(number.floor(), GetParam().floor);
    EXPECT_EQ(number.ceil(), GetParam().ceil);
    EXPECT_EQ(number.truncated(), GetParam().truncated);
    EXPECT_EQ(number.roundedHalfEven(), GetParam().roundedHalfEven);
}

INSTANTIATE_TEST_SUITE_P(Table, DecimalRounding,
                         testing::Values(RoundingCase{"007", 7, 7, 7, 7}, RoundingCase{"2.5", 2, 3, 2, 2},
                                         RoundingCase{"3,5", 3, 4, 3, 4}, RoundingCase{"2.51", 2, 3, 2, 3},
                                         RoundingCase{" -0.5 ", -1, 0, 0, 0},
                                         RoundingCase{"-1.5", -2, -1, -1, -2},
                                         RoundingCase{"+4.", 4, 4, 4, 4}, RoundingCase{".5", 0, 1, 0, 0},
                                         RoundingCase{"000000000000000000000255", 255, 255, 255, 255},
                                         RoundingCase{"0.1", 0, 1, 0, 0}));

TEST(DecimalNumber, ScalesExactly) {
    // 23437.5 units per minute: 5 minutes are 117187.5, 6 minutes 140625 exactly.
    EXPECT_EQ(DecimalNumber::parse("5").times(46875, 2).ceil(), 117188);
    EXPECT_EQ(DecimalNumber::parse("6").times(46875, 2).ceil(), 140625);
    EXPECT_EQ(DecimalNumber::parse("767").times(1, 3).truncated(), 255);
    EXPECT_EQ(DecimalNumber::parse("1.5").times(16, 1).plus(1).roundedHalfEven(), 25);
}

TEST(DecimalNumber, RefusesWhatIsNotANumber) {
    for (const char* text : {"", " ", "-", "+", ".", "3a", "a3", "1e3", "1 2", "0x10", "1..2", "--1", "١"})
        EXPECT_THROW(DecimalNumber::parse(text), TypeMismatch) << '"' << text << '"';
    EXPECT_THROW(DecimalNumber::parse("1234567890123"), Overflow);
    EXPECT_NO_THROW(DecimalNumber::parse("123456789012"));
}

} // namespace
} // namespace orb
