// Rounding the results in place a second time (printing, or building the report again) keeps
// every text the first rounding made.
#include "calibration_run.h"
#include "report_statements.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(RoundingAgain, KeepsTheSignOfAValueRoundedToZero) {
    // The all-samples intercept of these samples is -0.0000193 (a separate double-precision
    // evaluation of the orthogonal-line formulas): it rounds to "-0.0000".
    const GridCells grid = testing::GridOf({{"Normal", "12.2", "12"},
                                            {"Normal", "12.9", "13"},
                                            {"Abnormal", "25.4", "25"},
                                            {"Abnormal", "29.7", "30"},
                                            {"Abnormal", "40.5526", "40"}});
    Calibration calibration;
    calibration.tcrit = testing::ShippedTable();
    EditorFields fields;
    RecordingMessageSink sink;
    ASSERT_EQ(PerformCalibrationRun(calibration, grid, fields, sink), RunOutcome::Calibrated);
    const ReportHeader header{"run.txt", "Version", "2026-01-01", "12:00:00"};
    auto report = [&] {
        return BuildResultsReport(calibration.data, calibration.settings, calibration.results,
                                  fields, header);
    };
    const std::string first = report();
    const std::string coefficients = "Coefficients  :          y  =  -0.0000  +  1.0019 x\r\n";
    EXPECT_NE(first.find(coefficients), std::string::npos) << first;
    const std::string printed = RenderReportText(
        BuildReportStatements(calibration.data, calibration.settings, calibration.results, fields,
                              header, ReportDestination::Printer));
    EXPECT_NE(printed.find(coefficients), std::string::npos) << printed;
    EXPECT_EQ(report(), first);
}

} // namespace
} // namespace morvane
