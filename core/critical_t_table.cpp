#include "critical_t_table.h"

#include "value.h"

#include <fstream>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace morvane {

namespace {

bool isLayoutBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Adds the blank-separated items of one comma-delimited field; a field with none is an empty
// item, so ",," or a leading or trailing comma stands for a missing number.
void appendFieldItems(std::string_view field, std::vector<std::string_view>& items) {
    const std::size_t before = items.size();
    std::size_t i = 0;
    while (i < field.size()) {
        while (i < field.size() && isLayoutBlank(field[i]))
            ++i;
        const std::size_t start = i;
        while (i < field.size() && !isLayoutBlank(field[i]))
            ++i;
        if (i > start)
            items.push_back(field.substr(start, i - start));
    }
    if (items.size() == before)
        items.push_back(std::string_view{});
}

// Splits the file's text into its free-format items: commas, blanks and line ends all separate
// numbers, a comma with the blanks and line ends around it counts as one separator, and line
// ends carry no meaning of their own.
std::vector<std::string_view> splitItems(std::string_view text) {
    std::vector<std::string_view> items;
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return items;
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string_view::npos;
         comma = text.find(',', start)) {
        appendFieldItems(text.substr(start, comma - start), items);
        start = comma + 1;
    }
    appendFieldItems(text.substr(start), items);
    return items;
}

std::optional<std::string> readWholeFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "could not be opened.";
        return std::nullopt;
    }
    // Reading through the stream, not its buffer, turns a failed read (such as a folder given
    // for the file) into the bad state instead of an exception.
    std::string content;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        content.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        error = "could not be read.";
        return std::nullopt;
    }
    return content;
}

// Fills the table from the items in record order, or names the first problem found and leaves
// the table untouched.
std::optional<std::string> fillTable(const std::vector<std::string_view>& items,
                                     CriticalTTable& table) {
    constexpr std::size_t columns = CriticalTTable::kColumns;
    constexpr std::size_t cells = CriticalTTable::kRows * columns;
    std::vector<double> numbers;
    numbers.reserve(items.size());
    for (std::string_view item : items) {
        const auto number = ParseNumber(item);
        if (!number)
            return "holds a value that is not a number in record " +
                   std::to_string(numbers.size() / columns + 1) + ".";
        numbers.push_back(*number);
    }
    const std::string needed = std::to_string(CriticalTTable::kRows);
    if (numbers.size() > cells)
        return "holds more than " + needed + " records.";
    if (numbers.size() < cells) {
        const std::size_t complete = numbers.size() / columns;
        return "holds " + std::to_string(complete) + " complete record" +
               (complete == 1 ? "" : "s") + "; " + needed + " are needed.";
    }
    for (std::size_t k = 0; k < cells; ++k)
        table.T[k / columns + 1][k % columns + 1] = numbers[k];
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
    if (const auto text = readWholeFile(path, problem)) {
        if (const auto fillProblem = fillTable(splitItems(*text), table))
            problem = *fillProblem;
    }
    table.loaded = problem.empty();
    if (!table.loaded)
        table.loadError = "The critical t table " + path + " " + problem;
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
