#pragma once

#include "calibration_records.h"
#include "message.h"

namespace morvane {

// The outcome of reading the grid's three data columns.
struct GridReading {
    bool mismatch = false; // a y or x cell was not a number
    int tagLength = 0;
    int yLength = 0;
    int xLength = 0;

    bool lengthsDiffer() const { return yLength != tagLength || xLength != tagLength; }
};

inline constexpr const char* kMismatchText = "Data type mis-match error";
inline constexpr const char* kMissingObservationsText =
    "There are missing observations in one or more columns";

// Reads the tag, y and x columns (rows 1 to 130, each up to its first empty cell) into the data
// set's rows. Cells that are not numbers set the mismatch flag and leave their entry unchanged.
// SampleCount is not changed: the caller sets it once the reading passes its checks.
GridReading ReadDataFromGrid(const GridCells& grid, CalibrationDataSet& data);

// Shows the data error of a grid reading, when it has one: a cell that is not a number first,
// then columns of different lengths. True when the grid can be used.
bool CheckGridReading(const GridReading& reading, MessageSink& sink);

// Writes the header row, the row numbers and the data set's samples into the grid. Rows beyond
// SampleCount are not touched.
void WriteDataToGrid(const CalibrationDataSet& data, GridCells& grid);

// Deletes grid row delrow: the samples below move up one row and the last sample's row is
// emptied. Reports an unreadable grid or an empty one through the sink.
void DeleteRow(GridCells& grid, CalibrationDataSet& data, int delrow, MessageSink& sink);

// The tag text of a sample: "Abnormal" for 0, "Normal" otherwise.
const char* TagText(int isNormal);

} // namespace morvane
