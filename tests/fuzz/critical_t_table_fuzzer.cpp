// Loads arbitrary bytes as the critical t table. A table either loads completely or stays
// unloaded with a reason and every cell at 0; looking up a p-value bracket in whatever was loaded
// gives a pair of rising tabulated probabilities or no pair at all.
#include "fuzz_support.h"

#include "critical_t_table.h"

#include <cmath>
#include <cstring>

using namespace morvane;
using morvane::fuzzing::require;

namespace {

bool isTabulatedProbability(double p) {
    for (int column = 0; column <= CriticalTTable::kColumns + 1; ++column)
        if (p == TailProbability(column) || p == 1.0)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CriticalTTable table = LoadCriticalTTable(
        fuzzing::writeScratchFile("morvane-fuzz-tcrit", fuzzing::bytesOf(data, size)));
    require(table.loaded == table.loadError.empty(), "an unloaded table says why");
    if (!table.loaded)
        require(table.T == CriticalTTable{}.T, "nothing half-read is kept from a failed table");
    // The t values looked up include one taken from the file's own bytes, so it meets its cells.
    double ts[] = {0.0, 1.0, 2.0, 1e300, -1.0, std::nan("")};
    if (size >= sizeof(double))
        std::memcpy(&ts[4], data, sizeof(double));
    for (int df = -1; df <= CriticalTTable::kRows + 1; df += 17)
        for (double t : ts) {
            double lower = -1.0, upper = -1.0;
            FindPValueBracket(table, df, t, lower, upper);
            if (std::isnan(lower) || std::isnan(upper))
                require(std::isnan(lower) && std::isnan(upper), "a bracket has both ends or none");
            else
                require(isTabulatedProbability(lower) && isTabulatedProbability(upper) &&
                            lower < upper,
                        "a bracket is a pair of rising tabulated probabilities");
        }
    return 0;
}
