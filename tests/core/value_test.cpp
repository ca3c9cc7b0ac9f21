#include "value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace morvane {
namespace {

struct ParseCase {
    const char* text;
    std::optional<double> expected;
};

TEST(ParseNumber, ReadsDecimalNumbersWithAPeriodOnly) {
    const ParseCase cases[] = {
        {"12.5", 12.5},
        {".05", 0.05},
        {"0.05", 0.05},
        {" 7 ", 7.0},
        {"\t21", 21.0},
        {"-3", -3.0},
        {"+2", 2.0},
        {"1E+20", 1e20},
        {"2.5e-3", 0.0025},
        {"5.", 5.0},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12,5", std::nullopt},
        {"1.2.3", std::nullopt},
        {"0x10", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e999", std::nullopt},
        {"12 s", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"1e", std::nullopt},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(ParseNumber(c.text), c.expected) << "text: \"" << c.text << "\"";
}

TEST(FormatGeneral, WritesTheShortestTextThatReadsBack) {
    EXPECT_EQ(FormatGeneral(7), "7");
    EXPECT_EQ(FormatGeneral(21), "21");
    EXPECT_EQ(FormatGeneral(12.25), "12.25");
    EXPECT_EQ(FormatGeneral(12.5), "12.5");
    EXPECT_EQ(FormatGeneral(0.1), "0.1");
    EXPECT_EQ(FormatGeneral(-0.5), "-0.5");
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(1000000), "1000000");
    EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
}

TEST(FormatGeneral, KeepsAtMostFifteenSignificantDigits) {
    EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(20.000000000000007), "20");
    EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
}

TEST(FormatGeneral, UsesAnExponentOnlyForExtremeMagnitudes) {
    EXPECT_EQ(FormatGeneral(1e20), "1E+20");
    EXPECT_EQ(FormatGeneral(1.5e-7), "1.5E-07");
    EXPECT_EQ(ParseNumber(FormatGeneral(1.5e-7)), 1.5e-7);
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::max()), "1.79769313486231E+308");
}

// Any decimal of up to fifteen significant digits is written so that it reads back as the same
// double.
TEST(FormatGeneral, ReadsBackEveryNumberOfAtMostFifteenDigits) {
    std::mt19937_64 random(20261205);
    for (int i = 0; i < 200000; ++i) {
        const std::string decimal = (random() % 2 ? "-" : "") +
                                    std::to_string(random() % 1000000000000000ULL) + "E" +
                                    std::to_string(static_cast<int>(random() % 60) - 30);
        const double x = ParseNumber(decimal).value();
        ASSERT_EQ(ParseNumber(FormatGeneral(x)), x) << decimal << " written " << FormatGeneral(x);
    }
}

TEST(Value, ShowsTextsAsTypedAndNumbersInGeneralForm) {
    EXPECT_EQ(Value("1.050").text(), "1.050");
    EXPECT_EQ(Value("1.050").number(), 1.05);
    EXPECT_EQ(Value(1.05).text(), "1.05");
    EXPECT_EQ(Value("ISI").number(), std::nullopt);
    EXPECT_TRUE(Value().isEmpty());
    EXPECT_EQ(Value().text(), "");
    EXPECT_EQ(Value().number(), std::nullopt);
}

} // namespace
} // namespace morvane
