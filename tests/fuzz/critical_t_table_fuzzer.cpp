// Loads arbitrary bytes as the critical t table. A table either loads completely or stays
// unloaded with a reason and every cell at 0; looking up a p-value bracket in whatever was loaded
// gives a pair of tabulated probabilities or no pair at all.
#include "fuzz_support.h"

#include "critical_t_table.h"

#include <cmath>
#include <cstring>

using namespace morvane;
using morvane::fuzzing::require;

namespace {

const fuzzing::ScratchFile& tableFile() {
    static const fuzzing::ScratchFile file("morvane-fuzz-tcrit");
    return file;
}

bool allCellsZero(const CriticalTTable& table) {
    for (const auto& row : table.T)
        for (double cell : row)
            if (cell != 0.0)
                return false;
    return true;
}

bool borderIsZero(const CriticalTTable& table) {
    for (int column = 0; column <= CriticalTTable::kColumns; ++column)
        if (table.T[0][column] != 0.0)
            return false;
    for (int row = 0; row <= CriticalTTable::kRows; ++row)
        if (table.T[row][0] != 0.0)
            return false;
    return true;
}

bool isTabulatedProbability(double p) {
    if (p == 0.0 || p == 1.0)
        return true;
    for (int column = 1; column <= CriticalTTable::kColumns; ++column)
        if (p == TailProbability(column))
            return true;
    return false;
}

// The t values looked up: a few taken from the file's own bytes, so they meet its cells.
void checkBrackets(const CriticalTTable& table, const std::uint8_t* data, std::size_t size) {
    double ts[] = {0.0, 1.0, 2.0, 1e300, -1.0, std::nan("")};
    if (size >= sizeof(double))
        std::memcpy(&ts[4], data, sizeof(double));
    for (int df = -1; df <= CriticalTTable::kRows + 1; df += 17) {
        for (double t : ts) {
            double lower = -1.0;
            double upper = -1.0;
            FindPValueBracket(table, df, t, lower, upper);
            if (std::isnan(lower) || std::isnan(upper)) {
                require(std::isnan(lower) && std::isnan(upper), "a bracket has both ends or none");
                continue;
            }
            require(isTabulatedProbability(lower) && isTabulatedProbability(upper) && lower < upper,
                    "a bracket is a pair of rising tabulated probabilities");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CriticalTTable table =
        LoadCriticalTTable(tableFile().write(fuzzing::bytesOf(data, size)));
    require(table.loaded == table.loadError.empty(), "an unloaded table says why");
    if (table.loaded)
        require(borderIsZero(table), "row 0 and column 0 of a loaded table hold 0");
    else
        require(allCellsZero(table), "nothing half-read is kept from a table that failed");
    checkBrackets(table, data, size);
    return 0;
}
