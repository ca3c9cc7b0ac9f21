// The guideline checks on data sets built so that each verdict is known beforehand: plasmas
// placed in ln PT space on the line ln y = a + b ln x, in pairs mirrored across the line (a
// perpendicular offset of +delta and -delta), so the orthogonal fits return that line itself.
#include "calibration_checks.h"
#include "calibration_checks_text.h"
#include "calibration_run.h"
#include "test_support.h"

#include <cmath>
#include <cstdio>

namespace morvane {
namespace {

constexpr double kSlope = 1.2;
const double kIntercept = std::log(12.0) - kSlope * std::log(11.0);

// count plasmas from ln y low to high, lifted by shift; an odd last one lies on the line.
void addPlasmas(std::vector<testing::Sample>& samples, const char* tag, int count, double low,
                double high, double shift) {
    const double delta = 0.01 / std::sqrt(1.0 + kSlope * kSlope);
    char y[32], x[32];
    for (int k = 0; k < count; ++k) {
        const double lnY = low + (high - low) * (k / 2) / ((count - 1) / 2);
        const double side = (k == count - 1 && count % 2 == 1) ? 0.0 : (k % 2 ? -1.0 : 1.0);
        std::snprintf(y, sizeof y, "%.17g", std::exp(lnY + side * delta + shift));
        std::snprintf(x, sizeof x, "%.17g",
                      std::exp((lnY - kIntercept) / kSlope - side * kSlope * delta));
        samples.push_back({tag, y, x});
    }
}

// Normals around a reference PT of 12 s lifted by shift, abnormals at INRs 2 to 3.5.
Calibration calibrated(int normals, int abnormals, double normalShift) {
    std::vector<testing::Sample> samples;
    addPlasmas(samples, "Normal", normals, std::log(11.6), std::log(12.4), normalShift);
    addPlasmas(samples, "Abnormal", abnormals, std::log(24.0), std::log(42.0), 0.0);
    Calibration calibration{{}, {}, {}, testing::ShippedTable()};
    EditorFields fields;
    RecordingMessageSink sink;
    PerformCalibrationRun(calibration, testing::GridOf(samples), fields, sink);
    return calibration;
}

struct Case {
    int normals, abnormals;
    double shift;
    std::optional<bool> deviationPass;
    const char* overall;
};

class CalibrationChecksOf : public ::testing::TestWithParam<Case> {};

// With the normals on the patients' line d = 0 and the deviation is 0 %, not judged. Lifting
// the normals by shift on the ln y scale moves their mean point off the abnormal line by
// d = -shift and tilts the all-samples line; the deviation combines both. At 0.05 the test is
// significant and the deviations stay near 2 %; at 0.2 the one at INR 4.5 is about 14 %.
TEST_P(CalibrationChecksOf, ConstructedDataSet) {
    const Case& c = GetParam();
    const Calibration calibration = calibrated(c.normals, c.abnormals, c.shift);
    const CalibrationChecks& checks = calibration.checks;
    const CalibrationResults& r = calibration.results;
    EXPECT_EQ(checks.NormalsInDataSet, c.normals);
    EXPECT_EQ(checks.AbnormalsUsed, c.abnormals);
    EXPECT_EQ(checks.SlopeCVPass, true);
    EXPECT_NEAR(*r.Displacement.number(), -c.shift, 1e-9);
    EXPECT_EQ(checks.DisplacementSignificant, c.shift > 0.0);
    EXPECT_EQ(CalibrationCheckRows(checks).at(3).value,
              c.shift > 0.0 ? "significant" : "not significant");
    EXPECT_EQ(checks.INRDeviationPass, c.deviationPass);
    // Both forms of the deviation: INRtom = I^(b_abnormal / b_all) exp(d ISIref), since the
    // working ISI is ISIref b_all; ISIref is 1 here.
    const double power = *r.SlopeAbnormal.number() / *r.SlopeAll.number();
    for (const auto& [inr, deviation] :
         {std::pair{2.0, *checks.INRDeviationAt2}, std::pair{4.5, *checks.INRDeviationAt4_5}})
        EXPECT_NEAR(deviation,
                    100.0 * (std::pow(inr, power - 1.0) * std::exp(*r.Displacement.number()) - 1.0),
                    1e-9);
    EXPECT_EQ(OverallCheckLine(checks), c.overall);
}

const char* const kDesign = "Calibration does not meet the guideline criteria: Design";

INSTANTIATE_TEST_SUITE_P(
    Verdicts, CalibrationChecksOf,
    ::testing::Values(Case{20, 60, 0.0, std::nullopt, "Calibration meets the guideline criteria"},
                      Case{19, 60, 0.0, std::nullopt, kDesign},
                      Case{20, 59, 0.0, std::nullopt, kDesign},
                      Case{20, 60, 0.05, true,
                           "Calibration meets the guideline criteria (displacement "
                           "significant, INR deviation within 10 %)"},
                      Case{20, 60, 0.2, false,
                           "Calibration does not meet the guideline criteria: % INR "
                           "deviation at INR 2.0 and 4.5"}));

// The INR deviation needs the reference preparation's ISI; without one it is not given, and a
// significant displacement then leaves the whole calibration unjudged. A failed fit judges no
// line, not even the one an earlier run left in the fields.
TEST(CalibrationChecks, NoINRDeviationWithoutAReferenceISIAndNoLineAfterAFailedFit) {
    CalibrationResults results;
    results.MNPTWorkingUsed = results.ISIWorking = results.SlopeAbnormal = Value(1.0);
    results.Displacement = Value(0.1);
    results.DisplacementPHigh = Value(0.01); // significant at the 1 % level itself
    results.SlopeAll = Value(1.0);
    results.SESlopeAll = Value(0.01);
    results.INRExcludedCount = results.SDExcludedCount = 1;
    CalibrationDataSet data;
    data.SampleCount = 8;
    const CalibrationChecks checks = ComputeCalibrationChecks(data, results);
    EXPECT_EQ(checks.ExcludedPercent, 25.0) << "both kinds of exclusion count";
    EXPECT_EQ(checks.INRDeviationAt2, std::nullopt);
    EXPECT_EQ(checks.DisplacementSignificant, true);
    EXPECT_EQ(checks.MeetsCriteria, std::nullopt);
    data.ISIReference = Value(1.0);
    results.ISIWorking = Value(); // no working ISI, as when the reference's SE is not given
    EXPECT_EQ(ComputeCalibrationChecks(data, results).INRDeviationAt2, std::nullopt);
    results.CalibrationFailed = 1;
    EXPECT_EQ(ComputeCalibrationChecks({}, results).SlopeCV, std::nullopt);
}

} // namespace
} // namespace morvane
