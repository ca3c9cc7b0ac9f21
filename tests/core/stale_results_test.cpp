// A run whose all-samples fit ends at an arithmetic failure shows nothing of the run before it.
#include "calibration_run.h"
#include "results_json.h"
#include "results_report.h"
#include "svg_surface.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using testing::Sample;

// All working PTs equal: the log PTs have no covariance, so the slope of every line is a
// division by zero. The INRs (MNPT 12.25, ISI 1) lie within the limits.
const std::vector<Sample> kOneWorkingPT = {{"Normal", "12", "20"},
                                           {"Normal", "12.5", "20"},
                                           {"Abnormal", "25", "20"},
                                           {"Abnormal", "30", "20"},
                                           {"Abnormal", "40", "20"}};

struct Shown {
    std::string report, json, svg;
};

// What the user sees of a run: the report, the JSON of the results and the plot.
Shown calibrate(Calibration& calibration, const std::vector<Sample>& samples) {
    calibration.tcrit = testing::ShippedTable();
    EditorFields fields;
    RecordingMessageSink sink;
    PerformCalibrationRun(calibration, testing::GridOf(samples), fields, sink);
    Shown shown;
    shown.json = ResultsToJson(calibration.data, calibration.settings, calibration.results, {});
    shown.report = BuildResultsReport(calibration.data, calibration.settings, calibration.results,
                                      fields, {"run.txt", "Version", "2026-01-01", "12:00:00"});
    shown.svg = RenderCalibrationPlotSvg(calibration.data, calibration.results,
                                         StartUpPlotOptions(calibration.data), 600, 600);
    return shown;
}

TEST(ResultsAfterAFailedFit, ShowNothingOfThePreviousRun) {
    Calibration alone, afterGoodRun;
    const Shown expected = calibrate(alone, kOneWorkingPT);
    calibrate(afterGoodRun, testing::WorkedExample());
    const Shown shown = calibrate(afterGoodRun, kOneWorkingPT);
    EXPECT_EQ(shown.report, expected.report);
    EXPECT_EQ(shown.json, expected.json);
    EXPECT_EQ(shown.svg, expected.svg);
    for (const char* key : {"\"SlopeAll\": null", "\"ISIWorking\": null", "\"Displacement\": null"})
        EXPECT_NE(shown.json.find(key), std::string::npos) << key;
}

} // namespace
} // namespace morvane
