// Opens arbitrary bytes as a data file and as the critical t table. The reader answers with at
// most one of its two messages and a sample count the editor can show; a file it reads without
// complaint is saved again (File > Open, then Save Data As...) and reads back to the same samples.
// A table loads completely or stays unloaded with a reason and every cell at 0; a p-value bracket
// looked up in it is a pair of rising tabulated probabilities or no pair at all.
#include "fuzz_support.h"

#include "critical_t_table.h"
#include "data_file.h"
#include "grid_conversion.h"

#include <cmath>
#include <cstring>

using namespace morvane;
using morvane::fuzzing::require;

namespace {

// Fifteen significant digits are kept when a PT goes through the grid; that is the only loss
// allowed on the way from the file to the grid and back.
bool sameSavedPT(double read, double reread) {
    return std::fabs(read - reread) <= 1e-14 * std::fabs(read);
}

void checkSaveAndReread(const CalibrationDataSet& read) {
    GridCells grid;
    WriteDataToGrid(read, grid);
    EditorFields fields{.txtIRP = read.ReferencePreparationName.text(),
                        .txtWRP = read.WorkingPreparationName.text(),
                        .txtISI = read.ISIReference.text(),
                        .txtSEISI = read.SEISIReference.text()};
    const std::string path = fuzzing::scratchPath("morvane-fuzz-data-file-saved");
    CalibrationDataSet saved, reread;
    RecordingMessageSink saveSink, rereadSink;
    if (!SaveDataFile(path, grid, fields, saved, saveSink)) {
        // The grid the editor was given reads back; only a name the file format cannot hold (a
        // double quote or line break) may stop the save.
        require(saveSink.messages.size() == 1, "a refused save says why");
        require(saveSink.messages.front().text != kMismatchText &&
                    saveSink.messages.front().text != kMissingObservationsText,
                "the grid written from a data set reads back");
        return;
    }
    ReadDataFile(path, reread, rereadSink);
    require(rereadSink.messages.empty(), "a saved data file reads without a message");
    require(reread.SampleCount == read.SampleCount, "a saved data file keeps its sample count");
    for (int row = 1; row <= read.SampleCount; ++row)
        require((reread.IsNormal[row] == 0) == (read.IsNormal[row] == 0) &&
                    sameSavedPT(read.ReferencePT[row], reread.ReferencePT[row]) &&
                    sameSavedPT(read.WorkingPT[row], reread.WorkingPT[row]),
                "a saved data file keeps every tag and PT");
    if (!fields.txtIRP.empty() && !fields.txtWRP.empty())
        require(reread.ReferencePreparationName.text() == fields.txtIRP &&
                    reread.WorkingPreparationName.text() == fields.txtWRP,
                "a saved data file keeps the preparation names");
}

bool isTabulatedProbability(double p) {
    for (int column = 0; column <= CriticalTTable::kColumns + 1; ++column)
        if (p == TailProbability(column) || p == 1.0)
            return true;
    return false;
}

void checkTableLoad(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const CriticalTTable table = LoadCriticalTTable(path);
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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CalibrationDataSet read;
    RecordingMessageSink sink;
    const std::string path =
        fuzzing::writeScratchFile("morvane-fuzz-file", fuzzing::bytesOf(data, size));
    checkTableLoad(path, data, size);
    ReadDataFile(path, read, sink);
    require(sink.messages.size() <= 1, "a file read shows at most one message");
    require(read.SampleCount >= 0 && read.SampleCount <= kMaxSamples,
            "the sample count stays within 0 to 130");
    if (!sink.messages.empty()) {
        const Message& shown = sink.messages.front();
        require(shown == DataErrorMessage(kCantOpenFileText) ||
                    shown == DataErrorMessage(kMismatchText),
                "a reading failure is a data error box in one of the reader's own words");
        return 0;
    }
    checkSaveAndReread(read);
    return 0;
}
