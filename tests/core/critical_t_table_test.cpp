#include "critical_t_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include <sys/stat.h>

namespace morvane {
namespace {

// The supplied file carries six decimals: a cell lies within half a unit of the sixth decimal
// of the true quantile (the margin covers the double nearest to each decimal text).
constexpr double kSixDecimals = 5e-7 + 1e-12;
const double kP[] = {0.001, 0.005, 0.01, 0.02, 0.03, 0.04, 0.05, 0.06, 0.07, 0.08,
                     0.09,  0.10,  0.2,  0.3,  0.4,  0.5,  0.6,  0.7,  0.8,  0.9};

// `count` copies of the record "20, 19, ... 1", one to a line.
std::string records(int count) {
    std::string text;
    for (int r = 0; r < count * 20; ++r)
        text += std::to_string(20 - r % 20) + (r % 20 < 19 ? ", " : "\n");
    return text;
}

TEST(CriticalTTable, SuppliedFileMatchesPublishedQuantiles) {
    const CriticalTTable table = testing::ShippedTable();
    ASSERT_TRUE(table.loaded) << table.loadError;
    // Published two-sided 5% points: 12.7062047 (1 df), 3.1824463 (3 df), 1.9599640 (normal).
    EXPECT_NEAR(table.value(1, 7), 12.7062047, kSixDecimals);
    EXPECT_NEAR(table.value(3, 7), 3.1824463, kSixDecimals);
    EXPECT_NEAR(table.value(201, 7), 1.9599640, kSixDecimals);
    for (int j = 1; j <= 20; ++j) { // closed forms: 1 df cot(pi P / 2), 2 df (1-P) sqrt(2/(P(2-P)))
        const double p = kP[j - 1];
        EXPECT_NEAR(table.value(1, j), 1 / std::tan(std::numbers::pi * p / 2), kSixDecimals) << j;
        EXPECT_NEAR(table.value(2, j), (1 - p) * std::sqrt(2 / (p * (2 - p))), kSixDecimals) << j;
    }
    for (auto [df, j] : {std::pair{0, 1}, {0, 20}, {-1, 7}, {202, 7}, {2, -1}, {2, 21}})
        EXPECT_EQ(table.value(df, j), 0.0) << df << ", " << j;
}

TEST(CriticalTTableFile, MalformedFilesStayUnloadedAndZero) {
    testing::TempFolder folder;
    const std::string path = (folder.path / "tcrit.txt").string();
    const std::pair<std::string, std::string> cases[] = {
        {"", "holds 0 complete records; 201 are needed."},
        {records(1), "holds 1 complete record; 201 are needed."},
        {records(200) + "9, 8, 7\n", "holds 200 complete records; 201 are needed."},
        {records(202), "holds more than 201 records."},
        {records(201) + "1\n", "holds more than 201 records."},
        {records(6) + "x" + records(195), "holds a value that is not a number in record 7."},
        {records(2) + "20,," + records(199).substr(4),
         "holds a value that is not a number in record 3."},
        {records(200) + "1.2.3, " + records(1).substr(4),
         "holds a value that is not a number in record 201."},
        {"," + records(201), "holds a value that is not a number in record 1."},
        {records(201) + ",", "holds a value that is not a number in record 202."},
    };
    for (const auto& [content, problem] : cases) {
        const CriticalTTable table = LoadCriticalTTable(folder.write("tcrit.txt", content));
        EXPECT_FALSE(table.loaded) << problem;
        EXPECT_EQ(table.loadError, "The critical t table " + path + " " + problem);
        EXPECT_EQ(table.T, CriticalTTable{}.T) << problem;
    }
    std::string blanksOnly; // numbers apart by a blank, a tab, a CR or a line end alone
    int gap = 0;
    for (char c : records(201))
        if (c == ' ')
            blanksOnly += " \t\r"[gap++ % 3];
        else if (c != ',')
            blanksOnly += c;
    const CriticalTTable table = LoadCriticalTTable(folder.write("tcrit.txt", blanksOnly));
    EXPECT_EQ(std::pair(table.T[201][1], table.T[201][20]), std::pair(20.0, 1.0))
        << table.loadError;
    const std::string absent = (folder.path / "absent.txt").string();
    EXPECT_EQ(LoadCriticalTTable(absent).loadError,
              "The critical t table " + absent + " could not be opened.");
    EXPECT_EQ(LoadCriticalTTable(folder.path.string()).loadError,
              "The critical t table " + folder.path.string() + " could not be read.");
    const std::string pipe = (folder.path / "pipe").string(); // read, it would wait for ever
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(LoadCriticalTTable(pipe).loadError,
              "The critical t table " + pipe + " could not be read.");
}

TEST(CriticalTTable, PValueBracketTakesEqualityToTheRight) {
    CriticalTTable table; // row 5 holds 20, 19, ... 1 from column 1 to column 20; row 4 zeros
    for (int j = 1; j <= 20; ++j)
        table.T[5][j] = 21 - j;
    const struct {
        int df;
        double t, lower, upper;
    } cases[] = {
        // clang-format off
        {5, 20.5, 0, 0.001}, {5, 20, 0.001, 0.005}, {5, 19.5, 0.001, 0.005}, {5, 14, 0.05, 0.06},
        {5, 13.5, 0.05, 0.06}, {5, 13, 0.06, 0.07}, {5, 8.5, 0.10, 0.2}, {5, 1.5, 0.8, 0.9},
        {5, 1, 0.9, 1}, {5, 0.5, 0.9, 1}, {4, 0.5, 0, 0.001}, {4, 0, 0.9, 1}, {-1, 2, 0, 0.001},
        {202, 2, 0, 0.001},
        // clang-format on
    };
    for (const auto& c : cases) {
        double lower = -1, upper = -1;
        FindPValueBracket(table, c.df, c.t, lower, upper);
        EXPECT_DOUBLE_EQ(lower, c.lower) << c.df << ", " << c.t;
        EXPECT_DOUBLE_EQ(upper, c.upper) << c.df << ", " << c.t;
    }
    double lower = 0, upper = 0; // published 3 df: 5% point 3.182, 6% point 2.951
    FindPValueBracket(testing::ShippedTable(), 3, 3.0, lower, upper);
    EXPECT_EQ(std::pair(lower, upper), std::pair(0.05, 0.06));
    FindPValueBracket(table, 5, std::nan(""), lower, upper);
    EXPECT_TRUE(std::isnan(lower) && std::isnan(upper));
}

TEST(CriticalTTable, TailProbabilitiesAndConfidenceColumns) {
    for (int j = 0; j <= 21; ++j)
        EXPECT_DOUBLE_EQ(TailProbability(j), j >= 1 && j <= 20 ? kP[j - 1] : 0.0) << j;
    const std::pair<const char*, int> levels[] = {{"90%", 12}, {"95%", 7},  {"99%", 3},
                                                  {"95", 0},   {" 95%", 0}, {"", 0}};
    for (const auto& [level, column] : levels)
        EXPECT_EQ(ConfidenceLevelColumn(level), column) << level;
}

} // namespace
} // namespace morvane
