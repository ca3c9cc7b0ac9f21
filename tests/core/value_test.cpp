#include "value.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <random>

namespace morvane {
namespace {

TEST(ParseNumber, ReadsDecimalNumbersWithAPeriodOnly) {
    const std::pair<const char*, double> numbers[] = {
        // clang-format off
        {"12.5", 12.5}, {".05", 0.05}, {" 7 ", 7.0}, {"\t21", 21.0}, {"-3", -3.0}, {"+2", 2.0},
        {"1E+20", 1e20}, {"2.5e-3", 0.0025}, {"2E3", 2000.0}, {"5.", 5.0},
        // clang-format on
    };
    for (const auto& [text, number] : numbers)
        EXPECT_EQ(ParseNumber(text), number) << text;
    for (const char* text :
         {"", "abc", "12,5", "1.2.3", "0x10", "inf", "nan", "1e999", "12 s", ".", "1e"})
        EXPECT_EQ(ParseNumber(text), std::nullopt) << text;
}

// Typed PTs take a short path; it must give exactly the double the C library's conversion gives.
TEST(ParseNumber, ShortDecimalsReadAsTheLibraryReadsThem) {
    std::mt19937_64 random(5);
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        for (int k = 0, length = 1 + static_cast<int>(random() % 18); k < length; ++k)
            text += static_cast<char>('0' + random() % 10);
        text.insert(random() % (text.size() + 1), ".");
        ASSERT_EQ(ParseNumber(text), std::strtod(text.c_str(), nullptr)) << text;
    }
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
        {1.0 / 3.0, "0.333333333333333"}, {123456789012345.0, "123456789012345"},
        {DBL_MAX, "1.79769313486231E+308"},
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

} // namespace
} // namespace morvane
