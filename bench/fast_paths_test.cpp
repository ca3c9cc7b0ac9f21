// The quick ways the benchmarks measure, against the rules they take a short cut through: the
// report text laid out as its statements are formed, display patterns written straight into the
// text, and the critical t table read without per-item strings. Expected texts and numbers come
// from the rules (the double nearest a decimal is what the compiler makes of the same literal).

#include "calibration_run.h"
#include "critical_t_table.h"
#include "data_file.h"
#include "grid_conversion.h"
#include "message.h"
#include "number_format.h"
#include "report_statements.h"
#include "results_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace morvane {
namespace {

namespace fs = std::filesystem;

std::string spaces(int count) {
    return std::string(static_cast<std::size_t>(count), ' ');
}

// ---- The report text ----

struct ReportCase {
    const char* file;
    const char* lowerINR;
    const char* upperINR;
    const char* sdLimit;
    const char* confidence;
    bool tomenson;
};

class ReportTextPaths : public ::testing::TestWithParam<ReportCase> {};

// The text written as the statements are formed is the text the statements lay out to, and both
// leave the same rounded records behind.
TEST_P(ReportTextPaths, DirectTextIsTheLaidOutStatements) {
    const ReportCase& c = GetParam();
    Calibration calibration;
    calibration.tcrit = LoadCriticalTTable(MORVANE_TCRIT_FILE);
    RecordingMessageSink sink;
    ReadDataFile(c.file, calibration.data, sink);
    ASSERT_TRUE(sink.messages.empty()) << c.file;
    GridCells grid;
    WriteDataToGrid(calibration.data, grid);
    EditorFields fields;
    fields.txtIRP = "R\xC3\xA9"
                    "f\xC3\xA9rence \xE2\x80\x94 lot \xF0\x9F\x98\x80";
    fields.txtISI = calibration.data.ISIReference.text();
    fields.txtSEISI = calibration.data.SEISIReference.text();
    fields.txtLowerINR = c.lowerINR;
    fields.txtUpperINR = c.upperINR;
    fields.txtSDReg = c.sdLimit;
    fields.ComboCI = c.confidence;
    fields.Chkbox1 = c.tomenson;
    ASSERT_NE(PerformCalibrationRun(calibration, grid, fields, sink), RunOutcome::Stopped);
    const ReportHeader header{"run.txt", "Version 9.9", "2024-03-05", "14:07:09"};

    CalibrationSettings settings = calibration.settings;
    CalibrationResults results = calibration.results;
    const std::string laidOut = RenderReportText(BuildReportStatements(
        calibration.data, settings, results, fields, header, ReportDestination::Text));
    const std::string direct = BuildResultsReport(calibration.data, calibration.settings,
                                                  calibration.results, fields, header);
    EXPECT_EQ(direct, laidOut);
    EXPECT_EQ(calibration.results.CVISIWorking, results.CVISIWorking);
    EXPECT_EQ(calibration.results.SlopeCIHighAbnormal, results.SlopeCIHighAbnormal);
    EXPECT_EQ(calibration.results.MNPTWorkingUsed, results.MNPTWorkingUsed);
    EXPECT_EQ(calibration.settings.UpperINR, settings.UpperINR);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ReportTextPaths,
    ::testing::Values(ReportCase{MORVANE_EXAMPLES_DIR "/calibration_full_grid.txt", "1.5", "4.5",
                                 "3", "95%", false},
                      ReportCase{MORVANE_EXAMPLES_DIR "/calibration_full_grid.txt", "2", "3.5",
                                 "1.2", "99%", true},
                      ReportCase{MORVANE_EXAMPLES_DIR "/calibration_exclusions.txt", "1.5", "4.5",
                                 "3", "90%", true},
                      ReportCase{MORVANE_EXAMPLES_DIR "/calibration_example.txt", "1", "2", "0.5",
                                 "95%", true},
                      // Exclusions leave too few plasmas for the lines: the short report.
                      ReportCase{MORVANE_TEST_DATA_DIR "/report_worked_example.txt", "1.5", "4.5",
                                 "3", "95%", false}));

// Characters of two to four bytes, also across the eight-byte steps in which the columns are
// counted, take one column each: the zone after them starts at column 15.
TEST(ReportTextColumns, MultiByteCharactersTakeOneColumn) {
    const std::pair<std::string, int> texts[] = {
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 5}, // five 2-byte characters
        {"abcdefg\xC3\xA9xyz", 11},                      // one across bytes 8 and 9
        {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", 3},     // three 3-byte characters
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80x", 3},        // two 4-byte characters
        {"abcdefghijklm", 13},                           // plain, one word and a tail
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 8}, // two words
    };
    for (const auto& [text, columns] : texts) {
        const ReportStatements statements = {
            {ReportItem::Text(text), ReportItem::Zone(), ReportItem::Text("x")}};
        EXPECT_EQ(RenderReportText(statements), text + spaces(14 - columns) + "x\r\n") << text;
    }
}

// The direct text counts columns as the laid-out statements do: the date is followed by four
// zone advances. "Date: " and five 2-byte characters end at column 11, so the zones go to 15,
// 29, 43 and 57.
TEST(ReportTextColumns, DirectTextCountsCharactersNotBytes) {
    CalibrationDataSet data;
    CalibrationSettings settings;
    CalibrationResults results;
    results.CalibrationFailed = 1;
    const EditorFields editor;
    const ReportHeader header{"run.txt", "Version 9.9", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9",
                              "14:07:09"};
    const std::string text = BuildResultsReport(data, settings, results, editor, header);
    const std::string line =
        "Date: \xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9" + spaces(45) + "Time: 14:07:09\r\n";
    EXPECT_NE(text.find("\r\n" + line), std::string::npos) << text;
}

// ---- Display patterns ----

struct PatternCase {
    double value;
    const char* pattern;
    std::string expected;
};

class PatternLimits : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternLimits, WritesTheRoundedDecimalForm) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(FormatPattern(c.value, c.pattern), c.expected);
    std::string appended = "|";
    ASSERT_TRUE(AppendPattern(appended, c.value, PatternDecimals(c.pattern)));
    EXPECT_EQ(appended, "|" + c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, PatternLimits,
    ::testing::Values(
        // Just below 10^13 units of the last place, and just above it.
        PatternCase{99999999999.994, "#0.00", "99999999999.99"},
        PatternCase{99999999999.996, "#0.00", "100000000000.00"},
        // 15 digits: 123456789012.345 exactly, a half that goes away from zero.
        PatternCase{123456789012.345, "##0.00", "123456789012.35"},
        PatternCase{-123456789012.345, "##0.00", "-123456789012.35"},
        // More places than the quick forms keep in a local buffer.
        PatternCase{0.1, "#0.0000000000", "0.1000000000"},
        PatternCase{2.0 / 3.0, "#0.0000000000000000", "0.6666666666666670"},
        PatternCase{0.5, "#0.0000000000000000000000000", "0.5000000000000000000000000"},
        // Beyond 10^15 the digits after the fifteenth are zeros.
        PatternCase{1e20, "#0.00", "100000000000000000000.00"},
        PatternCase{-std::numeric_limits<double>::max(), "#0.0000",
                    "-179769313486232" + std::string(294, '0') + ".0000"}));

TEST(PatternLimits, UndefinedValuesWriteNothing) {
    for (double value : {std::numeric_limits<double>::infinity(), -HUGE_VAL, std::nan("")}) {
        std::string text = "kept";
        EXPECT_FALSE(AppendPattern(text, value, 2));
        EXPECT_EQ(text, "kept");
        char buffer[MaxPatternLength(2)];
        EXPECT_EQ(WritePattern(buffer, value, 2), nullptr);
    }
}

// The longest texts fit the room MaxPatternLength promises.
TEST(PatternLimits, LongestTextsFitTheirRoom) {
    for (int decimals : {0, 2, 4, 9, 25}) {
        std::vector<char> room(MaxPatternLength(decimals));
        const char* end = WritePattern(room.data(), -std::numeric_limits<double>::max(), decimals);
        ASSERT_NE(end, nullptr);
        EXPECT_EQ(end - room.data(), 1 + 309 + (decimals > 0 ? 1 + decimals : 0)) << decimals;
    }
}

// ---- The critical t table ----

class CriticalTTableItems : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(mDir); }
    void TearDown() override { fs::remove_all(mDir); }

    // The table file with the given first items and "1" for every other cell.
    std::string tableWith(const std::vector<std::string>& first, std::size_t padding = 0) {
        std::string text;
        for (std::size_t k = 0; k < 4020; ++k) {
            const std::string item = k < first.size() ? first[k] : "1";
            text += std::string(padding, '0') + item + (k % 20 == 19 ? "\n" : ", ");
        }
        return text;
    }
    std::string write(const std::string& content) {
        const fs::path path = mDir / "tcrit.txt";
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    const fs::path mDir = fs::temp_directory_path() /
                          ("morvane-fast-tcrit-" + std::to_string(std::random_device{}()));
};

TEST_F(CriticalTTableItems, EveryDecimalFormReadsAsItsNearestDouble) {
    const std::pair<std::string, double> items[] = {
        {"636.619249", 636.619249},
        {"+1.5", 1.5},
        {".5", 0.5},
        {"5.", 5.0},
        {"-.25", -0.25},
        {"0000012.500000", 12.5},
        {"1e2", 100.0},
        {"1E+02", 100.0},
        {"2.5e-3", 0.0025},
        {"9007199254740993", 9007199254740992.0}, // 2^53 + 1, halfway: to the even neighbour
        // Digits beyond 2^53 before a point would be rounded twice if read directly.
        {"900719925474102.1", 900719925474102.1},
        {"18446744073709551616", 18446744073709551616.0}, // 2^64: twenty digits
        {"3.14159265358979323846", 3.14159265358979323846},
        {".0000000000000000001", 1e-19},
        {"4.9e-324", 4.9e-324},
        {"0.1", 0.1},
        {"-0", -0.0},
    };
    std::vector<std::string> first;
    for (const auto& item : items)
        first.push_back(item.first);
    const CriticalTTable table = LoadCriticalTTable(write(tableWith(first)));
    ASSERT_TRUE(table.loaded) << table.loadError;
    for (std::size_t k = 0; k < std::size(items); ++k)
        EXPECT_EQ(table.T[1][k + 1], items[k].second) << items[k].first;
    EXPECT_TRUE(std::signbit(table.T[1][std::size(items)])) << "-0 keeps its sign";
    EXPECT_EQ(table.T[1][20], 1.0);
    EXPECT_EQ(table.T[201][20], 1.0);
}

TEST_F(CriticalTTableItems, ItemsThatAreNotNumbersNameTheirRecord) {
    const std::string items[] = {"1e400", "1e-400", "+",   "-",   ".",    "+.",      "1..2",
                                 "1.2.3", "--1",    "1e",  "e5",  "0x10", "inf",     "nan",
                                 "1-",    "1+2",    "5\f", "\v5", "1;2",  "\xD9\xA3"};
    for (const std::string& item : items) {
        std::vector<std::string> first(41, "2");
        first[40] = item; // the first item of record 3
        const CriticalTTable table = LoadCriticalTTable(write(tableWith(first)));
        EXPECT_FALSE(table.loaded) << item;
        EXPECT_EQ(table.loadError, "The critical t table " + (mDir / "tcrit.txt").string() +
                                       " holds a value that is not a number in record 3.")
            << item;
        EXPECT_EQ(table.T, CriticalTTable{}.T) << item;
    }
}

TEST_F(CriticalTTableItems, TheFileEndsWhereverItsLastItemDoes) {
    std::string text = tableWith({});
    text.pop_back(); // no line end after the last number
    for (const char* last : {"1", "1.", "1.5", "-2"}) {
        const std::string content = text.substr(0, text.size() - 1) + last;
        const CriticalTTable table = LoadCriticalTTable(write(content));
        ASSERT_TRUE(table.loaded) << last << ": " << table.loadError;
        EXPECT_EQ(table.T[201][20], std::stod(last)) << last;
    }
    const CriticalTTable cut = LoadCriticalTTable(write(text.substr(0, text.size() - 1) + "."));
    EXPECT_EQ(cut.loadError, "The critical t table " + (mDir / "tcrit.txt").string() +
                                 " holds a value that is not a number in record 201.");
}

// Eighteen leading zeros on every item make a file of more than 64 KiB, read in more than one
// piece.
TEST_F(CriticalTTableItems, ALongFileIsReadWhole) {
    const std::string content = tableWith({"7", "0.5"}, 18);
    ASSERT_GT(content.size(), 65536u);
    const CriticalTTable table = LoadCriticalTTable(write(content));
    ASSERT_TRUE(table.loaded) << table.loadError;
    EXPECT_EQ(table.T[1][1], 7.0);
    EXPECT_EQ(table.T[1][2], 0.5);
    EXPECT_EQ(table.T[201][20], 1.0);
}

} // namespace
} // namespace morvane
