// One calibration of 130 plasmas as "Calibrate" does it (reading the grid, checking the fields,
// every engine step) followed by the results report text; the report alone; and the reading of
// the critical t table that every start of the program does.

#include "calibration_run.h"
#include "critical_t_table.h"
#include "data_file.h"
#include "grid_conversion.h"
#include "message.h"
#include "results_report.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace morvane;

class SilentSink : public MessageSink {
public:
    MessageAnswer show(const Message&) override { return MessageAnswer::Ok; }
};

// The session after File > Open of the 130-plasma example: the data set and the grid.
struct OpenedExample {
    Calibration calibration;
    GridCells grid;
    EditorFields fields;
    std::string problem; // why the benchmark cannot run; empty when it can
};

OpenedExample openExample() {
    OpenedExample opened;
    Calibration& calibration = opened.calibration;
    calibration.tcrit = LoadCriticalTTable(MORVANE_TCRIT_FILE);
    RecordingMessageSink sink;
    ReadDataFile(MORVANE_FULL_GRID_EXAMPLE, calibration.data, sink);
    if (!calibration.tcrit.loaded)
        opened.problem = calibration.tcrit.loadError;
    else if (!sink.messages.empty() || calibration.data.SampleCount != kMaxSamples)
        opened.problem = "the example data file did not load 130 plasmas";
    WriteDataToGrid(calibration.data, opened.grid);
    opened.fields.txtISI = calibration.data.ISIReference.text();
    opened.fields.txtSEISI = calibration.data.SEISIReference.text();
    return opened;
}

const ReportHeader kHeader{"calibration_full_grid.txt", "Version", "2024-01-01", "00:00:00"};

void CalibrationRunWithReport(benchmark::State& state) {
    OpenedExample opened = openExample();
    if (!opened.problem.empty()) {
        state.SkipWithError(opened.problem.c_str());
        return;
    }
    Calibration& calibration = opened.calibration;
    SilentSink sink;
    std::size_t reportSize = 0;
    for (auto _ : state) {
        EditorFields fields = opened.fields;
        const RunOutcome outcome =
            PerformCalibrationRun(calibration, opened.grid, fields, sink).outcome;
        const std::string report = BuildResultsReport(
            calibration.data,
            RoundResultsForReport(calibration.data, calibration.settings, calibration.results),
            fields, kHeader);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(report.data());
        reportSize = report.size();
    }
    state.counters["report_bytes"] = static_cast<double>(reportSize);
}
BENCHMARK(CalibrationRunWithReport)->Unit(benchmark::kMicrosecond);

// The report alone: the results rounded into a copy, then the text.
void ResultsReportOnly(benchmark::State& state) {
    OpenedExample opened = openExample();
    if (!opened.problem.empty()) {
        state.SkipWithError(opened.problem.c_str());
        return;
    }
    Calibration& calibration = opened.calibration;
    SilentSink sink;
    EditorFields fields = opened.fields;
    PerformCalibrationRun(calibration, opened.grid, fields, sink);
    for (auto _ : state) {
        const std::string report = BuildResultsReport(
            calibration.data,
            RoundResultsForReport(calibration.data, calibration.settings, calibration.results),
            fields, kHeader);
        benchmark::DoNotOptimize(report.data());
    }
}
BENCHMARK(ResultsReportOnly)->Unit(benchmark::kMicrosecond);

// The supplied table file: 201 records of 20 numbers, read and checked whole.
void CriticalTTableLoad(benchmark::State& state) {
    bool loaded = true;
    for (auto _ : state) {
        const CriticalTTable table = LoadCriticalTTable(MORVANE_TCRIT_FILE);
        loaded = loaded && table.loaded;
        benchmark::DoNotOptimize(table.T.data());
    }
    if (!loaded)
        state.SkipWithError("the critical t table did not load");
}
BENCHMARK(CriticalTTableLoad)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
