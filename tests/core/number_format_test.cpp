// Display patterns and the print-list number form. Expected texts follow from the rules: the
// value's decimal form to 15 significant digits is rounded, halves away from zero.

#include "number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace morvane {
namespace {

// The rounding quirks in turn: binary forms just below a half whose 15-digit forms are exact
// halves (1.45 is 1.4499999999999999556, 2.675 is 2.67499999999999982236); exact binary halves
// go away from zero, never to even; just below a half stays down; the sign stays on a value that
// rounds to zero, not on zero itself; at least one digit before the point and as many after it
// as the pattern has zeros, carried through every digit; sixteen and seventeen digit values are
// first written to fifteen.
TEST(DisplayPattern, RoundsTheFifteenDigitFormHalfAwayFromZero) {
    const struct {
        double value;
        const char* pattern;
        const char* expected;
    } cases[] = {
        // clang-format off
        {1.45, "##0.0", "1.5"}, {2.675, "##0.00", "2.68"}, {-2.675, "##0.00", "-2.68"},
        {0.125, "##0.00", "0.13"}, {-2.5, "#0", "-3"}, {-0.4, "#0", "-0"},
        {2.67499999, "##0.00", "2.67"}, {0.00005, "##0.0000", "0.0001"},
        {0.000049999, "##0.0000", "0.0000"}, {-0.00001, "##0.0000", "-0.0000"},
        {-0.0, "##0.0000", "0.0000"}, {0.046, "#0.00", "0.05"}, {1e-20, "##0.0000", "0.0000"},
        {1234.56789, "##0.0000", "1234.5679"}, {9.99995, "##0.0000", "10.0000"},
        {0.1 + 0.2, "##0.0000", "0.3000"},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPattern(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
    EXPECT_EQ(FormatPattern(123456789012345678.0, "#0"), "123456789012346000");
    EXPECT_EQ(FormatPattern(123456789012345678.0, "##0.0"), "123456789012346000.0");
    EXPECT_EQ(FormatPattern(std::numeric_limits<double>::infinity(), "##0.00"), std::nullopt);
    EXPECT_EQ(FormatPattern(std::nan(""), "##0.00"), std::nullopt);
    // Texts that read as numbers are formatted as numbers.
    EXPECT_EQ(FormatPattern(Value("2.675"), "##0.00"), "2.68");
    EXPECT_EQ(FormatPattern(Value(1.75), "##0.0"), "1.8");
    EXPECT_EQ(FormatPattern(Value("abc"), "##0.00"), std::nullopt);
    EXPECT_EQ(FormatPattern(Value(), "##0.00"), std::nullopt);
}

TEST(PlainNumber, HasSignPlaceGeneralFormAndTrailingSpace) {
    const std::pair<double, const char*> cases[] = {
        {25, " 25 "},        {0, " 0 "},         {-0.0, " 0 "},      {-3, "-3 "},
        {-0.5, "-.5 "},      {0.046, " .046 "},  {1.053, " 1.053 "}, {12.8452, " 12.8452 "},
        {0.1 + 0.2, " .3 "}, {-0.077, "-.077 "},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatPlainNumber(value), text) << value;
    EXPECT_EQ(FormatPlainNumber(1.0 / 3.0), " .333333333333333 ");
}

} // namespace
} // namespace morvane
