#pragma once

#include "calibration_records.h"
#include "critical_t_table.h"

#include <ostream>
#include <string>
#include <vector>

namespace morvane {
// Shows a Value in test failure messages.
inline void PrintTo(const Value& value, std::ostream* os) {
    if (value.isEmpty())
        *os << "(empty)";
    else if (value.isText())
        *os << '"' << value.text() << '"';
    else
        *os << value.text();
}
} // namespace morvane

namespace morvane::testing {

struct Sample {
    std::string tag;
    std::string y;
    std::string x;
};

// A grid holding the given samples from row 1 down, as a user would type them.
inline GridCells GridOf(const std::vector<Sample>& samples) {
    GridCells grid;
    int row = 1;
    for (const Sample& sample : samples) {
        grid.at(row, 1) = sample.tag;
        grid.at(row, 2) = sample.y;
        grid.at(row, 3) = sample.x;
        ++row;
    }
    return grid;
}

// The worked example of the calibration line: working PTs 12, 13, 20, 30, 45 against reference
// PTs 12.5, 13.2, 22, 35, 55, the first two normal.
inline std::vector<Sample> WorkedExample() {
    return {{"Normal", "12.5", "12"},
            {"Normal", "13.2", "13"},
            {"Abnormal", "22", "20"},
            {"Abnormal", "35", "30"},
            {"Abnormal", "55", "45"}};
}

// A table whose every cell holds `t`, so a test controls the critical value it uses.
inline CriticalTTable UniformTable(double t) {
    CriticalTTable table;
    for (int row = 1; row <= CriticalTTable::kRows; ++row)
        for (int column = 1; column <= CriticalTTable::kColumns; ++column)
            table.T[row][column] = t;
    table.loaded = true;
    return table;
}

// The critical t table shipped with the program.
inline CriticalTTable ShippedTable() {
    return LoadCriticalTTable(MORVANE_TCRIT_FILE);
}

} // namespace morvane::testing
