// Numbers as texts: the reader of typed numbers, the general form, the display patterns and the
// print-list number form, and the report's arithmetic on missing values. Expected texts follow from
// the rules: the value's decimal form to 15 significant digits is rounded, halves away from zero.
#include "number_format.h"
#include "report_arithmetic.h"
#include "text_encoding.h"
#include "value.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace morvane {
namespace {

TEST(ParseNumber, ReadsDecimalNumbersWithAPeriodOnly) {
    const std::pair<const char*, double> numbers[] = {
        // clang-format off
        {"12.5", 12.5}, {".05", 0.05}, {" 7 ", 7.0}, {"\t21", 21.0}, {"-3", -3.0}, {"+2", 2.0},
        {"1E+20", 1e20}, {"2.5e-3", 0.0025}, {"2E3", 2000.0}, {"5.", 5.0}, {"0.0000001", 1e-7},
        {"0.0000000000000000025", 2.5e-18},
        {"123456789012345678901234", 123456789012345678901234.0},
        // clang-format on
    };
    for (const auto& [text, number] : numbers)
        EXPECT_EQ(ParseNumber(text), number) << text;
    for (const char* text :
         {"", "abc", "12,5", "1.2.3", "0x10", "inf", "nan", "1e999", "12 s", ".", "1e"})
        EXPECT_EQ(ParseNumber(text), std::nullopt) << text;
}

// The shortest text of at most fifteen digits, with an exponent only for extreme magnitudes.
// The four largest doubles, 1.7976931348623151E+308 to DBL_MAX, have the fifteen-digit rounding
// 1.79769313486232E+308, which lies beyond DBL_MAX and no double holds; their text must still
// read back, within 5E-15 of the number.
TEST(FormatGeneral, WritesTheShortestTextOfAtMostFifteenDigits) {
    const std::pair<double, const char*> cases[] = {
        // clang-format off
        {7, "7"}, {12.25, "12.25"}, {-0.5, "-0.5"}, {0, "0"}, {1000000, "1000000"},
        {0.0001, "0.0001"}, {1e20, "1E+20"}, {1.5e-7, "1.5E-07"}, {20.000000000000007, "20"},
        {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"},
        {123456789012345.0, "123456789012345"}, {DBL_MAX, "1.79769313486231E+308"}, {-0.0, "0"},
        {0.00001, "0.00001"}, {0.000001, "1E-06"}, {1e15, "1E+15"},
        // clang-format on
    };
    for (const auto& [x, text] : cases)
        EXPECT_EQ(FormatGeneral(x), text);
    for (double x : {-DBL_MAX, 1.7976931348623151E+308, 1.797693134862315E+308}) {
        const auto back = ParseNumber(FormatGeneral(x));
        ASSERT_TRUE(back.has_value()) << FormatGeneral(x);
        EXPECT_LE(std::fabs(*back - x), 5e-15 * std::fabs(x)) << FormatGeneral(x);
    }
}

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
        {0.1 + 0.2, "##0.0000", "0.3000"}, {123456789012345678.0, "#0", "123456789012346000"},
        {123456789012345678.0, "##0.0", "123456789012346000.0"},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPattern(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
    EXPECT_EQ(FormatPattern(std::numeric_limits<double>::infinity(), "##0.00"), std::nullopt);
    EXPECT_EQ(FormatPattern(std::nan(""), "##0.00"), std::nullopt);
    // Texts that read as numbers are formatted as numbers.
    EXPECT_EQ(FormatPattern(Value("2.675"), "##0.00"), "2.68");
    EXPECT_EQ(FormatPattern(Value(1.75), "##0.0"), "1.8");
    EXPECT_EQ(FormatPattern(Value("abc"), "##0.00"), std::nullopt);
    EXPECT_EQ(FormatPattern(Value(), "##0.00"), std::nullopt);
}

// A report value with a missing operand, a division by zero or no real result is left blank.
TEST(ReportArithmetic, MissingOperandsAndImpossibleResultsGiveNothing) {
    using namespace report;
    const Number none;
    for (const Number n :
         {product(none, 2.0), product(2.0, none), quotient(none, 2.0), quotient(2.0, none),
          quotient(2.0, 0.0), power(none, 2.0), power(2.0, none), power(-8.0, 1.0 / 3),
          power(0.0, -1.0), exponential(none), exponential(1000.0)})
        EXPECT_EQ(n, none);
    EXPECT_EQ(power(-2.0, 3.0), -8.0);
}

// Data files are Windows-1252: the euro, the dashes, the trade mark sign and Ÿ sit in 0x80 to
// 0x9F.
TEST(TextEncoding, WindowsCodePageHoldsTheEuroAndTheDashes) {
    EXPECT_EQ(Utf8ToWindows1252("€ – ™ é Ÿ"), "\x80 \x96 \x99 \xe9 \x9f");
    EXPECT_EQ(Windows1252ToUtf8("\x80\x96\x99\xe9\x9f"), "€–™éŸ");
}

} // namespace
} // namespace morvane
