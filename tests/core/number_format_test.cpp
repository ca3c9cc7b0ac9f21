// Display patterns and the print-list number form. Expected texts follow from the rules: the
// value's decimal form to 15 significant digits is rounded, halves away from zero.

#include "number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <limits>
#include <random>
#include <string>

namespace morvane {
namespace {

struct PatternCase {
    double value;
    const char* pattern;
    const char* expected;
};

void PrintTo(const PatternCase& c, std::ostream* os) {
    *os << c.value << " under \"" << c.pattern << "\"";
}

class DisplayPattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(DisplayPattern, FormatsTheDecimalForm) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(FormatPattern(c.value, c.pattern), c.expected) << c.value << " under " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Halves, DisplayPattern,
    ::testing::Values(
        // Binary forms below the half: 1.4499999999999999556, 2.67499999999999982236,
        // 0.28499999999999997558, 1.00499999999999989342; the 15-digit forms are exact halves.
        PatternCase{1.45, "##0.0", "1.5"}, PatternCase{2.675, "##0.00", "2.68"},
        PatternCase{0.285, "##0.00", "0.29"}, PatternCase{1.005, "#0.00", "1.01"},
        PatternCase{-2.675, "##0.00", "-2.68"},
        // Exact binary halves go away from zero, never to even.
        PatternCase{0.125, "##0.00", "0.13"}, PatternCase{-0.125, "##0.00", "-0.13"},
        PatternCase{0.5, "#0", "1"}, PatternCase{2.5, "#0", "3"}, PatternCase{-2.5, "#0", "-3"},
        // Just below a half stays down.
        PatternCase{2.67499999, "##0.00", "2.67"}, PatternCase{0.000049999, "##0.0000", "0.0000"},
        // The first dropped digit is the only one that decides.
        PatternCase{0.00005, "##0.0000", "0.0001"}, PatternCase{0.00004, "##0.0000", "0.0000"}));

INSTANTIATE_TEST_SUITE_P(Signs, DisplayPattern,
                         ::testing::Values(PatternCase{-0.00001, "##0.0000", "-0.0000"},
                                           PatternCase{-0.00005, "##0.0000", "-0.0001"},
                                           PatternCase{-0.4, "#0", "-0"},
                                           PatternCase{-0.3133306895, "##0.0000", "-0.3133"},
                                           PatternCase{-0.0, "##0.0000", "0.0000"},
                                           PatternCase{0.0, "#0", "0"}));

INSTANTIATE_TEST_SUITE_P(
    Widths, DisplayPattern,
    ::testing::Values(
        // At least one digit before the point, as many after it as the pattern has zeros.
        PatternCase{0.046, "#0.00", "0.05"}, PatternCase{7.0, "##0.0000", "7.0000"},
        PatternCase{12.5, "##0.000", "12.500"}, PatternCase{1234.56789, "##0.0000", "1234.5679"},
        PatternCase{1e-20, "##0.0000", "0.0000"},
        // Carries through every digit.
        PatternCase{9.99995, "##0.0000", "10.0000"}, PatternCase{99.995, "##0.00", "100.00"},
        PatternCase{0.99999, "#0", "1"},
        // Sixteen and seventeen digit values are first written to fifteen.
        PatternCase{0.1 + 0.2, "##0.0000", "0.3000"},
        PatternCase{1.0000000000000002, "##0.0", "1.0"},
        PatternCase{123456789012345678.0, "#0", "123456789012346000"}));

TEST(DisplayPatternFailure, UndefinedValuesGiveNothing) {
    EXPECT_EQ(FormatPattern(std::numeric_limits<double>::infinity(), "##0.00"), std::nullopt);
    EXPECT_EQ(FormatPattern(std::nan(""), "##0.00"), std::nullopt);
}

TEST(DisplayPatternOfValue, TextsThatReadAsNumbersAreFormattedAsNumbers) {
    EXPECT_EQ(FormatPattern(Value("2.675"), "##0.00"), "2.68");
    EXPECT_EQ(FormatPattern(Value("1.8"), "#0.00"), "1.80");
    EXPECT_EQ(FormatPattern(Value(1.75), "##0.0"), "1.8");
    EXPECT_EQ(FormatPattern(Value("abc"), "##0.00"), std::nullopt);
    EXPECT_EQ(FormatPattern(Value(), "##0.00"), std::nullopt);
}

// An independent, slow rendering of the rule: the 15-significant-digit text of printf, then
// rounding half away from zero on its decimal digits.
std::string referencePattern(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string digits;
    for (const char* p = buffer; *p != 'e'; ++p)
        if (*p != '.')
            digits += *p;
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    // Digits of the magnitude in units of 10^-(decimals + 1), one more than kept.
    const int shift = exponent + decimals + 2 - static_cast<int>(digits.size());
    if (shift >= 0)
        digits.append(shift, '0');
    else
        digits.resize(std::max(0, static_cast<int>(digits.size()) + shift));
    if (digits.empty())
        digits = "0";
    const bool up = digits.back() >= '5';
    digits.pop_back();
    if (digits.empty())
        digits = "0";
    if (up) {
        int k = static_cast<int>(digits.size()) - 1;
        for (; k >= 0 && digits[k] == '9'; --k)
            digits[k] = '0';
        if (k < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[k];
    }
    while (static_cast<int>(digits.size()) < decimals + 1)
        digits.insert(digits.begin(), '0');
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - decimals - 1));
    std::string text = value < 0 ? "-" : "";
    text += digits.substr(0, digits.size() - decimals);
    if (decimals > 0)
        text += "." + digits.substr(digits.size() - decimals);
    return text;
}

TEST(DisplayPatternSweep, AgreesWithTheDecimalTextEverywhere) {
    const char* patterns[] = {"#0", "##0.0", "##0.00", "##0.000", "##0.0000"};
    std::mt19937_64 generator(20240611);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 16);
    int checked = 0;
    for (int n = 0; n < 20000; ++n) {
        // Random magnitudes, PT-like values with one or two decimals, exact halves, and binary
        // fractions whose sixteenth digit is a 5.
        const double values[] = {mantissa(generator) * std::pow(10.0, exponent(generator)),
                                 std::round(mantissa(generator) * 1200.0) / 10.0,
                                 std::round(mantissa(generator) * 12000.0) / 100.0,
                                 (2 * (n % 5000) + 1) / 2000.0,
                                 std::ldexp(static_cast<double>(n * 7919 % 4000000), -15)};
        for (double value : values)
            for (int decimals = 0; decimals <= 4; ++decimals, ++checked)
                ASSERT_EQ(FormatPattern(value, patterns[decimals]),
                          referencePattern(value, decimals))
                    << std::setprecision(17) << value << " with " << decimals << " decimals";
    }
    EXPECT_EQ(checked, 500000);
}

struct PlainCase {
    double value;
    const char* expected;
};

void PrintTo(const PlainCase& c, std::ostream* os) {
    *os << c.value;
}

class PlainNumber : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainNumber, HasSignPlaceGeneralFormAndTrailingSpace) {
    EXPECT_EQ(FormatPlainNumber(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PrintList, PlainNumber,
                         ::testing::Values(PlainCase{25, " 25 "}, PlainCase{130, " 130 "},
                                           PlainCase{0, " 0 "}, PlainCase{-0.0, " 0 "},
                                           PlainCase{-3, "-3 "}, PlainCase{-0.5, "-.5 "},
                                           PlainCase{0.046, " .046 "}, PlainCase{1.053, " 1.053 "},
                                           PlainCase{12.8452, " 12.8452 "},
                                           PlainCase{90.5, " 90.5 "}, PlainCase{0.1 + 0.2, " .3 "},
                                           PlainCase{1.0 / 3.0, " .333333333333333 "},
                                           PlainCase{-0.077, "-.077 "}));

} // namespace
} // namespace morvane
