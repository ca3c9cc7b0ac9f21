#pragma once

#include "calibration_records.h"

#include <string>

namespace morvane {

// What is wrong with the text of a y or x cell as a prothrombin time. The grid takes any text;
// these judgements only tell the user, as they type, what a run would refuse.
enum class PTTextProblem {
    None,         // empty, or a positive number
    DecimalComma, // a number once its comma is read as the decimal point: "28,7"
    NotANumber,
    NotPositive, // zero or negative: no time
};
PTTextProblem JudgePTText(const std::string& text);

// The problem said with the text quoted: "\"28,7\" — use a period as the decimal separator".
std::string PTTextProblemText(const std::string& text, PTTextProblem problem);

// The data rows of the grid: complete ones (a tag and two usable times) by their tag, and those
// with some but not all of the three, or with a time that is no use.
struct GridRowCounts {
    int normal = 0;
    int abnormal = 0;
    int incomplete = 0;
};
GridRowCounts CountGridRows(const GridCells& grid);

// "N normal, M abnormal, K incomplete rows" (one "incomplete row").
std::string GridRowCountsText(const GridRowCounts& counts);

} // namespace morvane
