#include "grid_conversion.h"

namespace morvane {

namespace {

constexpr int kTagColumn = 1;
constexpr int kYColumn = 2;
constexpr int kXColumn = 3;

// Scans one column from row 1 down to its first empty cell, handing each cell to `take`.
// Returns the column's length.
template <typename TakeCell> int scanColumn(const GridCells& grid, int column, TakeCell take) {
    int row = 1;
    while (row <= kMaxSamples && !grid.at(row, column).empty()) {
        take(row, grid.at(row, column));
        ++row;
    }
    return row - 1;
}

int readPTColumn(const GridCells& grid, int column, SampleDoubles& pts, bool& mismatch) {
    return scanColumn(grid, column, [&](int row, const std::string& text) {
        if (auto number = ParseNumber(text))
            pts[row] = *number;
        else
            mismatch = true;
    });
}

void writeSampleRow(GridCells& grid, int row, const CalibrationDataSet& data, int sample) {
    grid.at(row, kTagColumn) = TagText(data.IsNormal[sample]);
    grid.at(row, kYColumn) = FormatGeneral(data.ReferencePT[sample]);
    grid.at(row, kXColumn) = FormatGeneral(data.WorkingPT[sample]);
}

} // namespace

const char* TagText(int isNormal) {
    return isNormal == 0 ? "Abnormal" : "Normal";
}

GridReading ReadDataFromGrid(const GridCells& grid, CalibrationDataSet& data) {
    GridReading reading;
    reading.tagLength = scanColumn(grid, kTagColumn, [&](int row, const std::string& text) {
        data.IsNormal[row] = text == "Abnormal" ? 0 : 1;
    });
    reading.yLength = readPTColumn(grid, kYColumn, data.ReferencePT, reading.mismatch);
    reading.xLength = readPTColumn(grid, kXColumn, data.WorkingPT, reading.mismatch);
    return reading;
}

void WriteDataToGrid(const CalibrationDataSet& data, GridCells& grid) {
    grid.at(0, 0) = "No";
    for (int row = 1; row <= kMaxSamples; ++row)
        grid.at(row, 0) = std::to_string(row);
    grid.at(0, kTagColumn) = "  Tag";
    grid.at(0, kYColumn) = "     y";
    grid.at(0, kXColumn) = "     x";
    for (int row = 1; row <= data.SampleCount; ++row)
        writeSampleRow(grid, row, data, row);
}

bool CheckGridReading(const GridReading& reading, MessageSink& sink) {
    if (reading.mismatch) {
        sink.show(DataErrorMessage(kMismatchText));
        return false;
    }
    if (reading.lengthsDiffer()) {
        sink.show(DataErrorMessage(kMissingObservationsText));
        return false;
    }
    return true;
}

void DeleteRow(GridCells& grid, CalibrationDataSet& data, int delrow, MessageSink& sink) {
    const GridReading reading = ReadDataFromGrid(grid, data);
    if (!CheckGridReading(reading, sink))
        return;
    const int n = data.SampleCount = reading.tagLength;
    if (n == 0) {
        sink.show(DataErrorMessage("There is no data in the grid"));
        return;
    }
    if (delrow < 1 || delrow > n)
        return;
    // Rows below the deleted one move up, rewritten from their numbers; the data set's rows
    // themselves stay where they were read.
    for (int row = delrow + 1; row <= n; ++row)
        writeSampleRow(grid, row - 1, data, row);
    for (int column = kTagColumn; column <= kXColumn; ++column)
        grid.at(n, column).clear();
}

} // namespace morvane
