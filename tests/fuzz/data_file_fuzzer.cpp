// Opens arbitrary bytes as a data file. Whatever the file holds, the reader answers with at most
// one of its two messages and leaves a sample count the editor can show; a file it reads
// without complaint is saved again, as File > Open followed by Save Data As... does, and reads
// back to the same samples.
#include "fuzz_support.h"

#include "data_file.h"
#include "grid_conversion.h"

#include <cmath>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CalibrationDataSet read;
    RecordingMessageSink sink;
    ReadDataFile(fuzzing::writeScratchFile("morvane-fuzz-data-file", fuzzing::bytesOf(data, size)),
                 read, sink);
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
