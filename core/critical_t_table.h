#pragma once

#include <array>
#include <string>

namespace morvane {

// Two-sided critical values of Student's t: rows 1 to 200 by degrees of freedom, row 201 the
// large-sample (normal distribution) values; columns 1 to 20 by tail probability
// 0.001, 0.005, 0.01 ... 0.10, 0.2 ... 0.9. Row 0 and column 0 hold 0.
struct CriticalTTable {
    static constexpr int kRows = 201;
    static constexpr int kColumns = 20;

    std::array<std::array<double, kColumns + 1>, kRows + 1> T{};
    bool loaded = false;
    std::string loadError; // why the table is not loaded; empty once it is

    // The cell at row df (0 to 201) and column 0 to 20; out-of-range indexes give 0.
    double value(int df, int column) const;
};

// The tail probability P(j) of column j (1 to 20).
double TailProbability(int column);

// The table column for a confidence level text: "90%" 12, "95%" 7, "99%" 3, anything else 0.
int ConfidenceLevelColumn(const std::string& confidenceLevel);

// Reads the table from a text file of 201 records of 20 numbers, separated by commas, blanks or
// line ends. A missing file, a non-number, fewer than 201 records or more leave the table
// unloaded with a message in loadError.
CriticalTTable LoadCriticalTTable(const std::string& path);

// The pair of tabulated tail probabilities enclosing the two-sided p-value of |t| at df degrees
// of freedom: (0, 0.001) beyond column 1, (0.9, 1) at or below column 20, otherwise
// (P(j), P(j+1)) for T[df][j+1] < t <= T[df][j].
void FindPValueBracket(const CriticalTTable& table, int df, double t, double& lower, double& upper);

} // namespace morvane
