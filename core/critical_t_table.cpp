#include "critical_t_table.h"

#include "value.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>

namespace morvane {

namespace {

constexpr std::size_t kCells = CriticalTTable::kRows * CriticalTTable::kColumns;

// A blank, a tab or a line end (CR or LF).
bool isLayoutBlank(char c) {
    constexpr std::uint64_t kOne = 1;
    constexpr std::uint64_t kBlanks = kOne << ' ' | kOne << '\t' | kOne << '\r' | kOne << '\n';
    return static_cast<unsigned char>(c) <= ' ' && ((kBlanks >> c) & 1) != 0;
}

// Powers of ten up to 10^19, all exact in a double.
constexpr std::array<double, 20> kExactPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                                      1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                                      1e14, 1e15, 1e16, 1e17, 1e18, 1e19};

bool isSeparator(char c) {
    return c == ',' || isLayoutBlank(c);
}

// Adds the digits that start at p to `digits` and returns where they end.
const char* readDigits(const char* p, std::uint64_t& digits) {
    for (unsigned digit; (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p)
        digits = digits * 10 + digit;
    return p;
}

// Reads the item that starts at p (not a separator) and moves p past it: the number it stands
// for, read as ParseNumber reads it, or nothing. The text must go on with a byte that is neither
// a digit nor a point after its end. An item of a sign, digits and a point only, with at most
// 19 digits (and so at most 19 decimals) that make at most 2^53, is read here: its digits and the
// power of ten are exact doubles, so the one division rounds to the same double as reading the
// decimal text does. Any other item (an exponent, more digits, anything else) goes to
// ParseNumber.
std::optional<double> readItem(const char*& p, const char* end) {
    const char* const start = p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    const char* const firstDigit = p;
    std::uint64_t digits = 0;
    p = readDigits(p, digits);
    const char* const point = *p == '.' ? p : nullptr;
    if (point)
        p = readDigits(p + 1, digits);
    if (p == end || isSeparator(*p)) {
        const auto count = (p - firstDigit) - (point ? 1 : 0);
        const auto decimals = point ? p - point - 1 : 0;
        if (count == 0)
            return std::nullopt; // a sign or a point alone
        if (count <= 19 && digits <= (std::uint64_t{1} << 53)) {
            const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals];
            return negative ? -magnitude : magnitude;
        }
    }
    while (p != end && !isSeparator(*p))
        ++p;
    return ParseNumber({start, static_cast<std::size_t>(p - start)});
}

// The bytes of a file, read whole into memory that nothing else writes first, followed by a 0.
struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;

    std::string_view text() const { return {data.get(), size}; }
};

// Reads the file whole; nothing, with the reason, when it cannot be opened or read (a folder
// given for the file opens but cannot be read).
std::optional<FileBytes> readWholeFile(const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "could not be opened.";
        return std::nullopt;
    }
    FileBytes bytes;
    std::size_t capacity = 65536; // the supplied table takes 40 000 bytes
    bytes.data = std::make_unique_for_overwrite<char[]>(capacity + 1);
    for (;;) {
        bytes.size += std::fread(bytes.data.get() + bytes.size, 1, capacity - bytes.size, file);
        if (bytes.size < capacity)
            break; // the end of the file, or a failed read
        auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2 + 1);
        std::copy_n(bytes.data.get(), bytes.size, larger.get());
        bytes.data = std::move(larger);
        capacity *= 2;
    }
    bytes.data[bytes.size] = '\0';
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "could not be read.";
        return std::nullopt;
    }
    return bytes;
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
std::optional<std::string> fillTable(const FileBytes& bytes, CriticalTTable& table) {
    const std::string_view text = bytes.text();
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
    if (const auto bytes = readWholeFile(path, problem)) {
        if (const auto fillProblem = fillTable(*bytes, table))
            problem = *fillProblem;
    }
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
