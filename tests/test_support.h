#pragma once

#include "calibration_records.h"
#include "critical_t_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace morvane {
// Shows a Value in test failure messages.
inline void PrintTo(const Value& value, std::ostream* os) {
    *os << (value.isEmpty() ? "(empty)" : value.isText() ? '"' + value.text() + '"' : value.text());
}
} // namespace morvane

namespace morvane::testing {

struct Sample {
    std::string tag, y, x;
};

// A grid holding the given samples from row 1 down, as a user would type them.
inline GridCells GridOf(const std::vector<Sample>& samples) {
    GridCells grid;
    for (int row = 1; row <= static_cast<int>(samples.size()); ++row) {
        grid.at(row, 1) = samples[row - 1].tag;
        grid.at(row, 2) = samples[row - 1].y;
        grid.at(row, 3) = samples[row - 1].x;
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

// An empty folder of the running test's own, removed with everything in it afterwards.
struct TempFolder {
    // A typed or parameterised test's name holds '/', which would make a folder in a folder.
    std::filesystem::path path = [] {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "morvane-" + std::to_string(::getpid()) + "-" + test->test_suite_name() +
                           "-" + test->name();
        std::replace(name.begin(), name.end(), '/', '-');
        return std::filesystem::temp_directory_path() / name;
    }();

    TempFolder() {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes `bytes` as the file `name` in the folder and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return (path / name).string();
    }
};

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The critical t table shipped with the program.
inline CriticalTTable ShippedTable() {
    return LoadCriticalTTable(MORVANE_TCRIT_FILE);
}

} // namespace morvane::testing
