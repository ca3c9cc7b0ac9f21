// Values at the edge of the doubles are written as nothing and the report goes on.
#include "calibration_run.h"
#include "results_report.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <limits>

namespace morvane {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();

struct HugeValuesReport : ::testing::Test {
    Calibration calibration;
    EditorFields fields;

    void calibrate() {
        calibration.tcrit = testing::ShippedTable();
        RecordingMessageSink sink;
        PerformCalibrationRun(calibration, testing::GridOf(testing::WorkedExample()), fields, sink);
    }
    std::string report() {
        return BuildResultsReport(calibration.data, calibration.settings, calibration.results,
                                  fields, {"run.txt", "Version", "2026-01-01", "12:00:00"});
    }
};

TEST_F(HugeValuesReport, ReferenceISIErrorNearTheLargestDouble) {
    // 100 x SE / ISI is the largest double, whose two-decimal text lies beyond it.
    fields.txtSEISI = "1.7976931348623157E+306";
    calibrate();
    const std::string text = report();
    EXPECT_NE(text.find("CV of ISI = \r\n\r\nISI (WP) = "), std::string::npos) << text;
    EXPECT_NE(text.find("PROTHROMBIN TIMES"), std::string::npos) << "the report goes on";
}

TEST_F(HugeValuesReport, RoundedNumbersNearTheLargestDouble) {
    calibrate();
    CalibrationResults& r = calibration.results;
    r.MNPTReferenceUsed = r.SlopeCIHighAbnormal = r.DisplacementCIHigh = Value(kLargest);
    const std::string text = report();
    EXPECT_NE(text.find("\r\nMNPT =  ( 2 normals)\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("for slope: (1.0241, )\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("for displacement: (-0.077, )\r\n"), std::string::npos) << text;
}

} // namespace
} // namespace morvane
