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

#include <iterator>

using namespace morvane;
using morvane::fuzzing::require;

namespace {

std::vector<std::string> cellsOf(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const auto parts = fuzzing::splitAt(line, '\t');
    return {parts.begin(), parts.end()};
}

void calibrateAndReport(Calibration& calibration, const GridCells& grid, EditorFields& fields) {
    RecordingMessageSink sink;
    const RunResult run = PerformCalibrationRun(calibration, grid, fields, sink);
    run.corrections.applyTo(fields);
    const RunOutcome outcome = run.outcome;
    for (const Message& message : sink.messages)
        require(!message.text.empty(), "every message has a text");
    if (outcome == RunOutcome::Stopped) {
        require(!sink.messages.empty(), "a stopped run says why");
        return;
    }
    require(fields.txtid.find(".txt") != std::string::npos,
            "a run past its data checks gives the identifier its .txt");
    const std::string report = BuildResultsReport(
        calibration.data,
        RoundResultsForReport(calibration.data, calibration.settings, calibration.results), fields,
        {fields.txtid, "Version 1.0.0", "2024-03-01", "09:30:00"});
    bool crlf = report.ends_with("\r\n");
    for (auto at = report.find('\n'); crlf && at != std::string::npos;
         at = report.find('\n', at + 1))
        crlf = at > 0 && report[at - 1] == '\r';
    require(crlf, "every report line ends in CR LF");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CriticalTTable table = LoadCriticalTTable(MORVANE_TCRIT_FILE);
    require(table.loaded, "the shipped critical t table loads");
    const auto lines = fuzzing::splitAt(fuzzing::bytesOf(data, size), '\n');
    EditorFields fields;
    std::string* texts[] = {&fields.txtid,       &fields.txtIRP,   &fields.txtWRP,
                            &fields.txtISI,      &fields.txtSEISI, &fields.txtLowerINR,
                            &fields.txtUpperINR, &fields.txtSDReg, &fields.ComboCI};
    const auto parameters = cellsOf(lines.front());
    for (std::size_t k = 0; k < parameters.size() && k < std::size(texts); ++k)
        *texts[k] = parameters[k];
    fields.Chkbox1 = parameters.size() > std::size(texts) && parameters[std::size(texts)] == "1";
    GridCells grid;
    for (std::size_t row = 1; row < lines.size() && row <= kMaxSamples; ++row) {
        const auto cells = cellsOf(lines[row]);
        for (std::size_t k = 0; k < cells.size() && k < 3; ++k)
            grid.at(static_cast<int>(row), static_cast<int>(k) + 1) = cells[k];
    }
    Calibration calibration{{}, {}, {}, table};
    calibrateAndReport(calibration, grid, fields);
    calibrateAndReport(calibration, grid, fields);
    return 0;
}
