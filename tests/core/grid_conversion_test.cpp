#include "grid_conversion.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using testing::GridOf;
using testing::Sample;

std::vector<Sample> FiveSamples() {
    return {{"Abnormal", "30", "35"},
            {"Normal", "12.50", "13"},
            {"Abnormal", "40", "45"},
            {"Normal", "11", "12"},
            {"Abnormal", "50", "60"}};
}

TEST(ReadDataFromGrid, OnlyTheExactTagAbnormalIsAbnormal) {
    CalibrationDataSet data;
    GridCells grid = GridOf({{"Abnormal", "1", "1"},
                             {"abnormal", "1", "1"},
                             {"ABNORMAL", "1", "1"},
                             {"Normal", "1", "1"},
                             {"control", "1", "1"}});
    ReadDataFromGrid(grid, data);
    EXPECT_EQ(data.IsNormal[1], 0);
    for (int row = 2; row <= 5; ++row)
        EXPECT_EQ(data.IsNormal[row], 1) << "row " << row;
}

TEST(ReadDataFromGrid, StopsEachColumnAtItsFirstEmptyCell) {
    CalibrationDataSet data;
    GridCells grid = GridOf(FiveSamples());
    grid.at(7, 1) = "Normal";
    grid.at(7, 2) = "not read";
    grid.at(7, 3) = "13";
    const GridReading reading = ReadDataFromGrid(grid, data);
    EXPECT_FALSE(reading.mismatch);
    EXPECT_EQ(reading.tagLength, 5);
    EXPECT_FALSE(reading.lengthsDiffer());
    EXPECT_EQ(data.ReferencePT[2], 12.5);
    EXPECT_EQ(data.WorkingPT[5], 60);
}

TEST(ReadDataFromGrid, FlagsTextsThatAreNotNumbersAndShorterColumns) {
    CalibrationDataSet data;
    data.ReferencePT[2] = -1;
    GridCells grid = GridOf(FiveSamples());
    grid.at(2, 2) = "12,5s";
    GridReading reading = ReadDataFromGrid(grid, data);
    EXPECT_TRUE(reading.mismatch);
    EXPECT_EQ(data.ReferencePT[2], -1) << "an unreadable cell leaves its entry as it was";

    grid = GridOf(FiveSamples());
    grid.at(5, 2).clear();
    reading = ReadDataFromGrid(grid, data);
    EXPECT_FALSE(reading.mismatch);
    EXPECT_EQ(reading.yLength, 4);
    EXPECT_TRUE(reading.lengthsDiffer());
}

TEST(WriteDataToGrid, WritesHeadersRowNumbersAndSamplesInGeneralForm) {
    CalibrationDataSet data;
    data.SampleCount = 2;
    data.IsNormal[1] = 0;
    data.ReferencePT[1] = 7;
    data.WorkingPT[1] = 12.25;
    data.IsNormal[2] = 2;
    data.ReferencePT[2] = 13.1;
    data.WorkingPT[2] = 14;
    GridCells grid;
    WriteDataToGrid(data, grid);
    EXPECT_EQ(grid.at(0, 0), "No");
    EXPECT_EQ(grid.at(0, 1), "  Tag");
    EXPECT_EQ(grid.at(0, 2), "     y");
    EXPECT_EQ(grid.at(0, 3), "     x");
    EXPECT_EQ(grid.at(1, 0), "1");
    EXPECT_EQ(grid.at(130, 0), "130");
    EXPECT_EQ(grid.at(1, 1), "Abnormal");
    EXPECT_EQ(grid.at(1, 2), "7");
    EXPECT_EQ(grid.at(1, 3), "12.25");
    EXPECT_EQ(grid.at(2, 1), "Normal");
    for (int row = 3; row <= kMaxSamples; ++row)
        EXPECT_EQ(grid.at(row, 1) + grid.at(row, 2) + grid.at(row, 3), "") << "row " << row;
}

struct DeleteRowTest : ::testing::Test {
    CalibrationDataSet data;
    RecordingMessageSink sink;
    GridCells grid = GridOf(FiveSamples());
};

TEST_F(DeleteRowTest, MovesLaterRowsUpRewrittenFromTheirNumbers) {
    grid.at(4, 1) = "control";
    grid.at(2, 2) = "12.50";
    DeleteRow(grid, data, 3, sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(grid.at(2, 2), "12.50") << "rows above keep their text exactly";
    EXPECT_EQ(grid.at(3, 1), "Normal") << "any tag other than Abnormal comes back as Normal";
    EXPECT_EQ(grid.at(3, 2), "11");
    EXPECT_EQ(grid.at(4, 1), "Abnormal");
    EXPECT_EQ(grid.at(4, 3), "60");
    EXPECT_EQ(grid.at(5, 1) + grid.at(5, 2) + grid.at(5, 3), "");
    EXPECT_EQ(data.SampleCount, 5) << "the count is not decreased";
    EXPECT_EQ(ReadDataFromGrid(grid, data).tagLength, 4);
}

TEST_F(DeleteRowTest, TheLastSampleEmptiesOnlyItsRowAndARowBelowChangesNothing) {
    DeleteRow(grid, data, 5, sink);
    EXPECT_EQ(grid.at(4, 2), "11");
    EXPECT_EQ(grid.at(5, 1) + grid.at(5, 2) + grid.at(5, 3), "");
    const GridCells before = grid;
    DeleteRow(grid, data, 9, sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(grid.cells, before.cells);
}

TEST_F(DeleteRowTest, ReportsEmptyOrUnreadableGridsAndLeavesThemAlone) {
    GridCells empty;
    DeleteRow(empty, data, 1, sink);
    grid.at(2, 3) = "x";
    const GridCells unreadable = grid;
    DeleteRow(grid, data, 1, sink);
    GridCells shorter = GridOf(FiveSamples());
    shorter.at(5, 3).clear();
    DeleteRow(shorter, data, 1, sink);
    ASSERT_EQ(sink.messages.size(), 3u);
    EXPECT_EQ(sink.messages[0], DataErrorMessage("There is no data in the grid"));
    EXPECT_EQ(sink.messages[1], DataErrorMessage("Data type mis-match error"));
    EXPECT_EQ(sink.messages[2],
              DataErrorMessage("There are missing observations in one or more columns"));
    EXPECT_EQ(grid.cells, unreadable.cells);
    EXPECT_EQ(shorter.at(1, 2), "30");
}

} // namespace
} // namespace morvane
