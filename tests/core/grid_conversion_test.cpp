#include "grid_conversion.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using testing::GridOf;

const GridCells kFive = GridOf({{"Abnormal", "30", "35"},
                                {"abnormal", "12.50", "13"},
                                {"Abnormal", "40", "45"},
                                {"control", "11", "12"},
                                {"Abnormal", "50", "60"}});

// Only the exact tag "Abnormal" is abnormal; each column ends at its first empty cell.
TEST(ReadDataFromGrid, ReadsTheColumnsDownToTheirFirstEmptyCell) {
    CalibrationDataSet data;
    GridCells grid = kFive;
    grid.at(7, 2) = "not read";
    GridReading reading = ReadDataFromGrid(grid, data);
    EXPECT_FALSE(reading.mismatch || reading.lengthsDiffer());
    EXPECT_EQ(reading.tagLength, 5);
    EXPECT_EQ((std::vector<int>(&data.IsNormal[1], &data.IsNormal[6])),
              (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(data.ReferencePT[2], 12.5);
    EXPECT_EQ(data.WorkingPT[5], 60);

    grid = kFive;
    grid.at(2, 2) = "12,5s";
    grid.at(5, 3).clear();
    data.ReferencePT[2] = -1;
    reading = ReadDataFromGrid(grid, data);
    EXPECT_TRUE(reading.mismatch);
    EXPECT_EQ(data.ReferencePT[2], -1) << "an unreadable cell leaves its entry as it was";
    EXPECT_EQ(reading.xLength, 4);
    EXPECT_TRUE(reading.lengthsDiffer());
}

// Rows below move up and are written again from their numbers; any tag other than Abnormal
// comes back as Normal; the sample count is not decreased. An empty or unreadable grid is left
// alone with its message.
TEST(DeleteRow, MovesLaterRowsUpRewrittenFromTheirNumbers) {
    CalibrationDataSet data;
    RecordingMessageSink sink;
    GridCells grid = kFive;
    DeleteRow(grid, data, 3, sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(grid.at(2, 2), "12.50") << "rows above keep their text exactly";
    EXPECT_EQ(grid.at(3, 1) + " " + grid.at(3, 2), "Normal 11");
    EXPECT_EQ(grid.at(4, 1) + " " + grid.at(4, 3), "Abnormal 60");
    EXPECT_EQ(grid.at(5, 1) + grid.at(5, 2) + grid.at(5, 3), "");
    EXPECT_EQ(data.SampleCount, 5);
    const GridCells before = grid;
    DeleteRow(grid, data, 9, sink);
    EXPECT_EQ(grid.cells, before.cells) << "a row below the samples changes nothing";
    EXPECT_TRUE(sink.messages.empty());

    GridCells empty, unreadable = kFive, shorter = kFive;
    unreadable.at(2, 3) = "x";
    shorter.at(5, 3).clear();
    for (GridCells* grid : {&empty, &unreadable, &shorter}) {
        const GridCells before = *grid;
        DeleteRow(*grid, data, 1, sink);
        EXPECT_EQ(grid->cells, before.cells);
    }
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{
                  DataErrorMessage("There is no data in the grid"),
                  DataErrorMessage("Data type mis-match error"),
                  DataErrorMessage("There are missing observations in one or more columns")}));
}

} // namespace
} // namespace morvane
