#include "critical_t_table.h"

#include "value.h"
#include "whole_file.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

namespace morvane {

namespace {

constexpr std::size_t kCells = CriticalTTable::kRows * CriticalTTable::kColumns;

// A blank, a tab or a line end (CR or LF).
bool isLayoutBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isSeparator(char c) {
    return c == ',' || isLayoutBlank(c);
}

// Reads the item that starts at p (not a separator) and moves p past it: the number it stands
// for, or nothing.
std::optional<double> readItem(const char*& p, const char* end) {
    const char* const start = p;
    while (p != end && !isSeparator(*p))
        ++p;
    return ParseNumber({start, static_cast<std::size_t>(p - start)});
}

std::string notANumberProblem(std::size_t itemsBefore) {
    return "holds a value that is not a number in record " +
           std::to_string(itemsBefore / CriticalTTable::kColumns + 1) + ".";
}

// Fills the table from the file's free-format items in record order, or names the first problem
// found (the cells filled by then are the caller's to clear). Commas, blanks and line ends all
// separate numbers; a comma with the blanks and line ends around it counts as one separator, so
// ",," or a leading or trailing comma stands for a missing number; line ends carry no meaning of
// their own. A text of blanks only holds no items.
std::optional<std::string> fillTable(std::string_view text, CriticalTTable& table) {
    std::size_t items = 0;
    int row = 1;
    int column = 1;
    bool fieldHasItem = false; // since the last comma
    bool anyText = false;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (true) {
        while (p != end && isLayoutBlank(*p))
            ++p;
        if (p == end)
            break;
        anyText = true;
        if (*p == ',') {
            if (!fieldHasItem)
                return notANumberProblem(items);
            fieldHasItem = false;
            ++p;
            continue;
        }
        const auto number = readItem(p, end);
        if (!number)
            return notANumberProblem(items);
        if (items < kCells)
            table.T[row][column] = *number;
        if (++column > CriticalTTable::kColumns) {
            column = 1;
            ++row;
        }
        ++items;
        fieldHasItem = true;
    }
    if (anyText && !fieldHasItem)
        return notANumberProblem(items);
    const std::string needed = std::to_string(CriticalTTable::kRows);
    if (items > kCells)
        return "holds more than " + needed + " records.";
    if (items < kCells) {
        const std::size_t complete = items / CriticalTTable::kColumns;
        return "holds " + std::to_string(complete) + " complete record" +
               (complete == 1 ? "" : "s") + "; " + needed + " are needed.";
    }
    return std::nullopt;
}

} // namespace

double CriticalTTable::value(int df, int column) const {
    if (df < 0 || df > kRows || column < 0 || column > kColumns)
        return 0.0;
    return T[df][column];
}

double TailProbability(int column) {
    if (column == 1)
        return 0.001;
    if (column == 2)
        return 0.005;
    if (column >= 3 && column <= 12)
        return (column - 2) / 100.0;
    if (column >= 13 && column <= CriticalTTable::kColumns)
        return (column - 11) / 10.0;
    return 0.0;
}

int ConfidenceLevelColumn(const std::string& confidenceLevel) {
    if (confidenceLevel == "90%")
        return 12;
    if (confidenceLevel == "95%")
        return 7;
    if (confidenceLevel == "99%")
        return 3;
    return 0;
}

// A table that fails to load keeps every cell at 0, so that nothing half-read is ever used.
CriticalTTable LoadCriticalTTable(const std::string& path) {
    CriticalTTable table;
    std::string problem;
    const WholeFile file = ReadWholeFile(path);
    if (file.problem == WholeFileProblem::NotOpened)
        problem = "could not be opened.";
    else if (file.problem != WholeFileProblem::None)
        problem = "could not be read.";
    else if (const auto fillProblem = fillTable(file.bytes, table))
        problem = *fillProblem;
    table.loaded = problem.empty();
    if (!table.loaded) {
        table.T = {};
        table.loadError = "The critical t table " + path + " " + problem;
    }
    return table;
}

// A t equal to the tabulated value of column j lies in the interval to its right, (P(j), P(j+1)),
// so along a falling row every t has exactly one bracket. A t that fits none (not a number, or a
// row that does not fall) gets NaN for both ends rather than a misleading pair.
void FindPValueBracket(const CriticalTTable& table, int df, double t, double& lower,
                       double& upper) {
    if (t > table.value(df, 1)) {
        lower = 0.0;
        upper = TailProbability(1);
        return;
    }
    for (int j = 1; j < CriticalTTable::kColumns; ++j) {
        if (table.value(df, j + 1) < t && t <= table.value(df, j)) {
            lower = TailProbability(j);
            upper = TailProbability(j + 1);
            return;
        }
    }
    if (t <= table.value(df, CriticalTTable::kColumns)) {
        lower = TailProbability(CriticalTTable::kColumns);
        upper = 1.0;
        return;
    }
    lower = upper = std::numeric_limits<double>::quiet_NaN();
}

} // namespace morvane
