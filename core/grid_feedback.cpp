#include "grid_feedback.h"

#include "value.h"

#include <algorithm>

namespace morvane {

PTTextProblem JudgePTText(const std::string& text) {
    if (text.empty())
        return PTTextProblem::None;
    if (const std::optional<double> number = ParseNumber(text))
        return *number > 0 ? PTTextProblem::None : PTTextProblem::NotPositive;
    std::string withPoint = text;
    std::replace(withPoint.begin(), withPoint.end(), ',', '.');
    return ParseNumber(withPoint) ? PTTextProblem::DecimalComma : PTTextProblem::NotANumber;
}

std::string PTTextProblemText(const std::string& text, PTTextProblem problem) {
    const std::string quoted = "\"" + text + "\"";
    switch (problem) {
    case PTTextProblem::DecimalComma:
        return quoted + " \u2014 use a period as the decimal separator";
    case PTTextProblem::NotANumber:
        return quoted + " is not a number";
    case PTTextProblem::NotPositive:
        return quoted + " is not a positive number";
    case PTTextProblem::None:
        break;
    }
    return std::string();
}

GridRowCounts CountGridRows(const GridCells& grid) {
    GridRowCounts counts;
    for (int row = 1; row <= kMaxSamples; ++row) {
        const std::string& tag = grid.at(row, 1);
        const std::string& y = grid.at(row, 2);
        const std::string& x = grid.at(row, 3);
        if (tag.empty() && y.empty() && x.empty())
            continue;
        const bool usable = !tag.empty() && !y.empty() && !x.empty() &&
                            JudgePTText(y) == PTTextProblem::None &&
                            JudgePTText(x) == PTTextProblem::None;
        int& count = !usable             ? counts.incomplete
                     : tag == "Abnormal" ? counts.abnormal
                                         : counts.normal;
        ++count;
    }
    return counts;
}

std::string GridRowCountsText(const GridRowCounts& counts) {
    return std::to_string(counts.normal) + " normal, " + std::to_string(counts.abnormal) +
           " abnormal, " + std::to_string(counts.incomplete) +
           (counts.incomplete == 1 ? " incomplete row" : " incomplete rows");
}

} // namespace morvane
