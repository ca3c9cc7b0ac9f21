// Presses Calibrate on whatever the user typed or pasted, twice in a row as a user may, and
// builds the report whenever the run goes that far.
//
// Input layout, as a paste into the editor would arrive: the first line holds the parameter
// texts separated by tabs (identifier, reference and working preparation, ISI, SE(ISI), lower
// and upper INR limit, SD limit, confidence level, Tomenson box: "1" ticks it); each further
// line is one grid row, its cells (tag, y, x) separated by tabs. Missing texts keep the
// editor's designed defaults; a CR before a line end is dropped.
#include "fuzz_support.h"

#include "calibration_run.h"
#include "results_report.h"

#include <array>

using namespace morvane;
using morvane::fuzzing::require;

namespace {

const CriticalTTable& shippedTable() {
    static const CriticalTTable table = [] {
        CriticalTTable loaded = LoadCriticalTTable(MORVANE_TCRIT_FILE);
        require(loaded.loaded, "the shipped critical t table loads");
        return loaded;
    }();
    return table;
}

std::string_view withoutTrailingCR(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

void fillEditorFields(std::string_view line, EditorFields& fields) {
    std::array<std::string*, 9> texts = {&fields.txtid,       &fields.txtIRP,   &fields.txtWRP,
                                         &fields.txtISI,      &fields.txtSEISI, &fields.txtLowerINR,
                                         &fields.txtUpperINR, &fields.txtSDReg, &fields.ComboCI};
    const auto parts = fuzzing::splitAt(line, '\t');
    for (std::size_t k = 0; k < parts.size() && k < texts.size(); ++k)
        *texts[k] = std::string(parts[k]);
    if (parts.size() > texts.size())
        fields.Chkbox1 = parts[texts.size()] == "1";
}

void fillGridRow(std::string_view line, int row, GridCells& grid) {
    const auto cells = fuzzing::splitAt(line, '\t');
    for (std::size_t k = 0; k < cells.size() && k < 3; ++k)
        grid.at(row, static_cast<int>(k) + 1) = std::string(cells[k]);
}

bool everyLineEndsInCRLF(const std::string& report) {
    if (report.size() < 2 || report.compare(report.size() - 2, 2, "\r\n") != 0)
        return false;
    for (std::size_t at = report.find('\n'); at != std::string::npos;
         at = report.find('\n', at + 1))
        if (at == 0 || report[at - 1] != '\r')
            return false;
    return true;
}

void calibrateAndReport(Calibration& calibration, const GridCells& grid, EditorFields& fields) {
    RecordingMessageSink sink;
    const RunOutcome outcome = PerformCalibrationRun(calibration, grid, fields, sink);
    for (const Message& message : sink.messages)
        require(!message.text.empty(), "every message has a text");
    if (outcome == RunOutcome::Stopped) {
        require(!sink.messages.empty(), "a stopped run says why");
        return;
    }
    require(fields.txtid.find(".txt") != std::string::npos,
            "a run past its data checks gives the identifier its .txt");
    const ReportHeader header{fields.txtid, "Version 1.0.0", "2024-03-01", "09:30:00"};
    const std::string report = BuildResultsReport(calibration.data, calibration.settings,
                                                  calibration.results, fields, header);
    require(everyLineEndsInCRLF(report), "every report line ends in CR LF");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lines = fuzzing::splitAt(fuzzing::bytesOf(data, size), '\n');
    EditorFields fields;
    fillEditorFields(withoutTrailingCR(lines.front()), fields);
    GridCells grid;
    for (std::size_t k = 1; k < lines.size() && k <= kMaxSamples; ++k)
        fillGridRow(withoutTrailingCR(lines[k]), static_cast<int>(k), grid);

    Calibration calibration;
    calibration.tcrit = shippedTable();
    calibrateAndReport(calibration, grid, fields);
    calibrateAndReport(calibration, grid, fields);
    return 0;
}
