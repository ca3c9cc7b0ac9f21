// Opens arbitrary bytes as a data file. Whatever the file holds, the reader answers with at most
// one of its two messages and leaves a sample count the editor can show; a file it reads
// without complaint is saved again and reads back to the same samples.
#include "fuzz_support.h"

#include "data_file.h"
#include "grid_conversion.h"

#include <cmath>

using namespace morvane;
using morvane::fuzzing::require;

namespace {

const fuzzing::ScratchFile& openedFile() {
    static const fuzzing::ScratchFile file("morvane-fuzz-data-file");
    return file;
}

const fuzzing::ScratchFile& savedFile() {
    static const fuzzing::ScratchFile file("morvane-fuzz-data-file-saved");
    return file;
}

void checkReadingMessages(const RecordingMessageSink& sink, const CalibrationDataSet& data) {
    require(sink.messages.size() <= 1, "a file read shows at most one message");
    require(data.SampleCount >= 0 && data.SampleCount <= kMaxSamples,
            "the sample count stays within 0 to 130");
    if (sink.messages.empty())
        return;
    const Message& shown = sink.messages.front();
    require(shown.text == kCantOpenFileText || shown.text == kMismatchText,
            "a reading failure is reported in one of the reader's own words");
    require(shown == DataErrorMessage(shown.text), "a reading failure is a data error box");
}

// Fifteen significant digits are kept when a PT goes through the grid; that is the only loss
// allowed on the way from the file to the grid and back.
bool sameSavedPT(double read, double reread) {
    return std::fabs(read - reread) <= 1e-14 * std::fabs(read);
}

// What File > Open followed by Save Data As... does: the editor shows the data set, its grid and
// header fields are saved, and the saved file is read back.
void checkSaveAndReread(const CalibrationDataSet& read) {
    GridCells grid;
    WriteDataToGrid(read, grid);
    EditorFields fields;
    fields.txtIRP = read.ReferencePreparationName.text();
    fields.txtWRP = read.WorkingPreparationName.text();
    fields.txtISI = read.ISIReference.text();
    fields.txtSEISI = read.SEISIReference.text();

    CalibrationDataSet saved;
    RecordingMessageSink saveSink;
    if (!SaveDataFile(savedFile().path(), grid, fields, saved, saveSink)) {
        // The grid the editor was given reads back; only a name the file format cannot hold (a
        // double quote or line break) may stop the save.
        require(saveSink.messages.size() == 1, "a refused save says why");
        require(saveSink.messages.front().text != kMismatchText &&
                    saveSink.messages.front().text != kMissingObservationsText,
                "the grid written from a data set reads back");
        return;
    }
    CalibrationDataSet reread;
    RecordingMessageSink rereadSink;
    ReadDataFile(savedFile().path(), reread, rereadSink);
    require(rereadSink.messages.empty(), "a saved data file reads without a message");
    require(reread.SampleCount == read.SampleCount, "a saved data file keeps its sample count");
    for (int row = 1; row <= read.SampleCount; ++row) {
        require((reread.IsNormal[row] == 0) == (read.IsNormal[row] == 0),
                "a saved data file keeps every tag");
        require(sameSavedPT(read.ReferencePT[row], reread.ReferencePT[row]) &&
                    sameSavedPT(read.WorkingPT[row], reread.WorkingPT[row]),
                "a saved data file keeps every PT");
    }
    if (!fields.txtIRP.empty() && !fields.txtWRP.empty())
        require(reread.ReferencePreparationName.text() == fields.txtIRP &&
                    reread.WorkingPreparationName.text() == fields.txtWRP,
                "a saved data file keeps the preparation names");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = openedFile().write(fuzzing::bytesOf(data, size));
    CalibrationDataSet read;
    RecordingMessageSink sink;
    ReadDataFile(path, read, sink);
    checkReadingMessages(sink, read);
    if (sink.messages.empty())
        checkSaveAndReread(read);
    return 0;
}
