// Inputs the fuzz targets found to break a rule, reduced to the smallest case that shows it.
#include "data_file.h"
#include "text_encoding.h"
#include "value.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace morvane {
namespace {

namespace fs = std::filesystem;

// An overlong UTF-8 sequence spells a character with more bytes than it needs. Such a text is
// not valid UTF-8 (RFC 3629, section 3), so the code page conversion must refuse it; accepting
// it lets a double quote or a control character slip past any check made on the UTF-8 text.
TEST(FuzzRegressions, OverlongUtf8IsNotEncodedAsWindows1252) {
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"two-byte NUL", "\xC0\x80"},
        {"two-byte double quote", "\xC0\xA2"},
        {"two-byte letter A", "\xC1\x81"},
        {"three-byte double quote", "\xE0\x80\xA2"},
        {"three-byte e acute (U+00E9)", "\xE0\x83\xA9"},
        {"four-byte double quote", "\xF0\x80\x80\xA2"},
        {"overlong after valid text", "Lot 7 \xC0\xA2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToWindows1252(c.text), std::nullopt);
    }
}

// The shortest forms of the same characters are the valid ones and keep their code page bytes.
TEST(FuzzRegressions, ShortestUtf8FormsStillEncode) {
    struct Case {
        std::string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"\"", "\""},
        {"A", "A"},
        {"\xC3\xA9", "\xE9"},               // e acute, U+00E9
        {"\xE2\x82\xAC", "\x80"},           // euro sign, U+20AC
        {"Lot 7 \xC2\xB5l", "Lot 7 \xB5l"}, // micro sign, U+00B5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Utf8ToWindows1252(c.text), c.bytes);
    }
}

struct FuzzRegressionFiles : ::testing::Test {
    fs::path folder;

    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("morvane-fuzz-regressions-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string bytesOf(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
};

GridCells WorkedExampleGrid() {
    const char* rows[][3] = {{"Normal", "12.5", "12"},
                             {"Normal", "13.2", "13"},
                             {"Abnormal", "22", "20"},
                             {"Abnormal", "35", "30"},
                             {"Abnormal", "55", "45"}};
    GridCells grid;
    for (int row = 1; row <= 5; ++row)
        for (int column = 1; column <= 3; ++column)
            grid.at(row, column) = rows[row - 1][column - 1];
    return grid;
}

// The same fault seen from Save Data As...: a reference preparation name ending in an overlong
// double quote either is refused, or the file written must read back to that name. Today the
// quote is written as a real one, the file holds "Lot 7 "" and reads back as "Lot 7 ".
TEST_F(FuzzRegressionFiles, NameWithOverlongQuoteDoesNotBreakTheDataFile) {
    EditorFields fields;
    fields.txtIRP = "Lot 7 \xC0\xA2";
    const std::string path = (folder / "names.txt").string();
    CalibrationDataSet saved;
    RecordingMessageSink saveSink;
    if (!SaveDataFile(path, WorkedExampleGrid(), fields, saved, saveSink)) {
        EXPECT_EQ(saveSink.messages.size(), 1u);
        EXPECT_FALSE(fs::exists(path));
        return;
    }
    CalibrationDataSet reread;
    RecordingMessageSink readSink;
    ReadDataFile(path, reread, readSink);
    EXPECT_TRUE(readSink.messages.empty());
    EXPECT_EQ(reread.ReferencePreparationName.text(), fields.txtIRP) << bytesOf(path);
}

// The four largest doubles, 1.7976931348623151E+308 to DBL_MAX = 1.7976931348623157E+308, have
// the fifteen-digit rounding 1.79769313486232E+308, which lies beyond DBL_MAX and no double
// holds, so the general form writes a text the number reader refuses. Every finite number the
// program writes must read back; fifteen significant digits keep it within 5E-15 of itself.
// The next double down, 1.797693134862315E+308, rounds to 1.79769313486231E+308 and reads back.
TEST(FuzzRegressions, GeneralFormOfTheLargestDoublesReadsBack) {
    const double cases[] = {DBL_MAX, -DBL_MAX, 1.7976931348623151E+308, -1.7976931348623151E+308,
                            1.797693134862315E+308};
    for (double x : cases) {
        const std::string text = FormatGeneral(x);
        SCOPED_TRACE(text);
        const auto back = ParseNumber(text);
        EXPECT_TRUE(back.has_value());
        if (back) {
            EXPECT_LE(std::fabs(*back - x), 5e-15 * std::fabs(x));
        }
    }
}

// What the user meets: a PT typed as the largest double is saved, and the saved file is then
// refused with "Data type mis-match error" when it is opened again.
TEST_F(FuzzRegressionFiles, LargestDoublePTSurvivesSaveAndOpen) {
    GridCells grid = WorkedExampleGrid();
    grid.at(5, 2) = "1.7976931348623157E+308";
    const std::string path = (folder / "largest.txt").string();
    CalibrationDataSet saved;
    RecordingMessageSink saveSink;
    ASSERT_TRUE(SaveDataFile(path, grid, EditorFields{}, saved, saveSink));

    CalibrationDataSet reread;
    RecordingMessageSink readSink;
    ReadDataFile(path, reread, readSink);
    EXPECT_TRUE(readSink.messages.empty()) << bytesOf(path);
    EXPECT_EQ(reread.SampleCount, 5);
}

} // namespace
} // namespace morvane
