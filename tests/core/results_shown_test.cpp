// What the report, the JSON and the plot show of the results of a run.
#include "calibration_plot.h"
#include "calibration_run.h"
#include "report_statements.h"
#include "report_text_layout.h"
#include "results_json.h"
#include "results_report.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

struct ResultsShown : ::testing::Test {
    Calibration calibration{{}, {}, {}, testing::ShippedTable()};
    EditorFields fields;
    const ReportHeader header{"run.txt", "Version", "2026-01-01", "12:00:00"};

    void calibrate(const std::vector<testing::Sample>& samples) {
        RecordingMessageSink sink;
        PerformCalibrationRun(calibration, testing::GridOf(samples), fields, sink);
    }
    ShownResults rounded() const {
        return RoundResultsForReport(calibration.data, calibration.settings, calibration.results);
    }
    std::string report() { return BuildResultsReport(calibration.data, rounded(), fields, header); }
    // The results as JSON (as computed), the report and the plot (as shown).
    std::string shown() {
        const ShownResults s = rounded();
        const std::string json = ResultsToJson(calibration.data, calibration.settings,
                                               calibration.results, s, {}, calibration.checks);
        return json + report() +
               RenderCalibrationPlotSvg(calibration.data, s.results,
                                        StartUpPlotOptions(calibration.data), 600, 600);
    }
};

TEST_F(ResultsShown, AFailedFitShowsNothingOfThePreviousRun) {
    std::vector<testing::Sample> oneWorkingPT = testing::WorkedExample();
    for (testing::Sample& sample : oneWorkingPT)
        sample.x = "20"; // the log PTs have no covariance: every slope divides by zero
    calibrate(oneWorkingPT);
    const std::string alone = shown();
    calibrate(testing::WorkedExample());
    calibrate(oneWorkingPT);
    EXPECT_EQ(shown(), alone);
}

TEST_F(ResultsShown, RoundingAgainKeepsTheSignOfAValueRoundedToZero) {
    // Intercept -0.00000897 (a separate double-precision evaluation of the formulas): "-0.0000".
    std::vector<testing::Sample> samples = testing::WorkedExample();
    samples[4].y = "44.918";
    calibrate(samples);
    const std::string first = report();
    const std::string coefficients = "Coefficients  :          y  =  -0.0000  +  1.0199 x\r\n";
    EXPECT_NE(first.find(coefficients), std::string::npos) << first;
    const ShownResults once = rounded();
    const ShownResults twice = RoundResultsForReport(calibration.data, once.settings, once.results);
    const std::string printed = RenderReportText(
        BuildReportStatements(calibration.data, twice, fields, header, ReportDestination::Printer));
    EXPECT_NE(printed.find(coefficients), std::string::npos) << printed;
    EXPECT_EQ(report(), first);
}

} // namespace
} // namespace morvane
