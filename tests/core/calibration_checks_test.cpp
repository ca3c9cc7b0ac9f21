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

using testing::GridOf;
using testing::Sample;

constexpr double kSlope = 1.2;
const double kIntercept = std::log(12.0) - kSlope * std::log(11.0);

std::string text(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// count plasmas at ln y from lnYLow to lnYHigh, lifted by shift; an odd one lies on the line.
void addPlasmas(std::vector<Sample>& samples, const char* tag, int count, double lnYLow,
                double lnYHigh, double shift) {
    const double delta = 0.01 / std::sqrt(1.0 + kSlope * kSlope);
    const int bases = (count + 1) / 2;
    for (int k = 0; k < count; ++k) {
        const double lnY = lnYLow + (lnYHigh - lnYLow) * (k / 2) / (bases - 1);
        const double lnX = (lnY - kIntercept) / kSlope;
        const double side = (k == count - 1 && count % 2 == 1) ? 0.0 : (k % 2 ? -1.0 : 1.0);
        samples.push_back({tag, text(std::exp(lnY + side * delta + shift)),
                           text(std::exp(lnX - side * kSlope * delta))});
    }
}

// Normals around a reference PT of 12 s, abnormals at INRs 2 to 3.5, normals lifted by shift.
Calibration calibrated(int normals, int abnormals, double normalShift) {
    std::vector<Sample> samples;
    addPlasmas(samples, "Normal", normals, std::log(11.6), std::log(12.4), normalShift);
    addPlasmas(samples, "Abnormal", abnormals, std::log(24.0), std::log(42.0), 0.0);
    Calibration calibration;
    calibration.tcrit = LoadCriticalTTable(MORVANE_TCRIT_FILE);
    EditorFields fields;
    RecordingMessageSink sink;
    PerformCalibrationRun(calibration, GridOf(samples), fields, sink);
    return calibration;
}

// The deviation rearranged: INRtom = I^(b_abnormal / b_all) exp(d ISIref), since the working
// ISI is ISIref b_all.
double simplifiedDeviation(double inr, const CalibrationDataSet& data,
                           const CalibrationResults& r) {
    const double ratio = *r.SlopeAbnormal.number() / *r.SlopeAll.number();
    return 100.0 * (std::pow(inr, ratio) *
                        std::exp(*r.Displacement.number() * *data.ISIReference.number()) / inr -
                    1.0);
}

struct DesignCase {
    int normals;
    int abnormals;
    bool pass;
    const char* overall;
};

class CalibrationDesign : public ::testing::TestWithParam<DesignCase> {};

TEST_P(CalibrationDesign, NeedsTwentyNormalAndSixtyPatientPlasmas) {
    const DesignCase& c = GetParam();
    const Calibration calibration = calibrated(c.normals, c.abnormals, 0.0);
    const CalibrationChecks& checks = calibration.checks;
    EXPECT_EQ(checks.DesignPass, c.pass);
    EXPECT_EQ(checks.NormalsInDataSet, c.normals);
    EXPECT_EQ(checks.AbnormalsUsed, c.abnormals);
    EXPECT_EQ(checks.SlopeCVPass, true);
    EXPECT_EQ(checks.DisplacementSignificant, false);
    EXPECT_EQ(OverallCheckLine(checks), c.overall);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CalibrationDesign,
    ::testing::Values(
        DesignCase{20, 60, true, "Calibration meets the guideline criteria"},
        DesignCase{19, 60, false, "Calibration does not meet the guideline criteria: Design"},
        DesignCase{20, 59, false, "Calibration does not meet the guideline criteria: Design"}));

TEST(CalibrationChecks, NormalsOnThePatientsLineGiveNoDeviation) {
    const Calibration calibration = calibrated(20, 60, 0.0);
    const CalibrationChecks& checks = calibration.checks;
    EXPECT_NEAR(*calibration.results.SlopeAbnormal.number(), kSlope, 1e-9);
    EXPECT_NEAR(*calibration.results.Displacement.number(), 0.0, 1e-9);
    EXPECT_NEAR(*checks.INRDeviationAt2, 0.0, 1e-6);
    EXPECT_NEAR(*checks.INRDeviationAt4_5, 0.0, 1e-6);
    EXPECT_FALSE(checks.INRDeviationPass.has_value()); // not judged: not significant
    EXPECT_EQ(CalibrationCheckRows(checks)[4].verdict, "");
}

struct DisplacementCase {
    double shift;
    bool deviationPass;
    const char* overall;
};

class PlantedDisplacement : public ::testing::TestWithParam<DisplacementCase> {};

// Lifting every normal by shift on the ln y scale moves the normal mean point off the abnormal
// line by d = -shift and tilts the all-samples line; the deviation combines both. At 0.05 the
// test is significant and the deviations stay near 2 %; at 0.2 the deviation at INR 4.5 is
// about 14 %.
TEST_P(PlantedDisplacement, IsJudgedByItsINRDeviation) {
    const DisplacementCase& c = GetParam();
    const Calibration calibration = calibrated(20, 60, c.shift);
    const CalibrationChecks& checks = calibration.checks;
    EXPECT_NEAR(*calibration.results.Displacement.number(), -c.shift, 1e-9);
    EXPECT_EQ(checks.DisplacementSignificant, true);
    EXPECT_EQ(checks.INRDeviationPass, c.deviationPass);
    EXPECT_EQ(checks.MeetsCriteria, c.deviationPass);
    EXPECT_NEAR(*checks.INRDeviationAt2,
                simplifiedDeviation(2.0, calibration.data, calibration.results), 1e-9);
    EXPECT_NEAR(*checks.INRDeviationAt4_5,
                simplifiedDeviation(4.5, calibration.data, calibration.results), 1e-9);
    EXPECT_EQ(OverallCheckLine(checks), c.overall);
}

INSTANTIATE_TEST_SUITE_P(
    Shifts, PlantedDisplacement,
    ::testing::Values(DisplacementCase{0.05, true,
                                       "Calibration meets the guideline criteria (displacement "
                                       "significant, INR deviation within 10 %)"},
                      DisplacementCase{0.2, false,
                                       "Calibration does not meet the guideline criteria: % INR "
                                       "deviation at INR 2.0 and 4.5"}));

TEST(CalibrationChecks, FailedFitCannotBeJudged) {
    // Three abnormals, all above the upper INR limit: too few remain for the lines.
    std::vector<Sample> samples = {{"Normal", "12", "11"}, {"Normal", "12.4", "11.5"}};
    for (const char* y : {"60", "70", "80"})
        samples.push_back({"Abnormal", y, "50"});
    Calibration calibration;
    calibration.tcrit = LoadCriticalTTable(MORVANE_TCRIT_FILE);
    EditorFields fields;
    RecordingMessageSink sink;
    ASSERT_EQ(PerformCalibrationRun(calibration, GridOf(samples), fields, sink),
              RunOutcome::FitFailed);
    const std::vector<CheckRow> rows = CalibrationCheckRows(calibration.checks);
    for (std::size_t row : {0u, 3u, 4u})
        EXPECT_EQ(rows[row].verdict, "Not available") << rows[row].check;
    EXPECT_EQ(OverallCheckLine(calibration.checks),
              "Calibration could not be judged against the guideline criteria");
}

TEST(CalibrationChecks, SlopeCVPassesUpToThreePercent) {
    CalibrationDataSet data;
    CalibrationResults results;
    results.SlopeAll = Value(1.0);
    for (const auto& [se, pass] : {std::pair{0.0299, true}, std::pair{0.0301, false}}) {
        results.SESlopeAll = Value(se);
        const CalibrationChecks checks = ComputeCalibrationChecks(data, results);
        EXPECT_NEAR(*checks.SlopeCV, 100.0 * se, 1e-12);
        EXPECT_EQ(checks.SlopeCVPass, pass);
    }
    results.SlopeAll = Value(0.0); // no CV of a zero slope, and no verdict
    EXPECT_FALSE(ComputeCalibrationChecks(data, results).SlopeCVPass.has_value());
}

// Expected deviations worked with bc -l at 40 digits from the unsimplified formula:
// x = m e(l(i)/w); t = e(r (b l(x/m) + d)); 100 (t/i - 1).
TEST(CalibrationChecks, INRDeviationMatchesHandCalculation) {
    struct Case {
        double inr, mnpt, isiWorking, slopeAbnormal, d, isiReference, expected;
    };
    for (const Case& c : {Case{2.0, 12, 1.2, 1.1, 0.05, 1.0, -0.77322164659499466},
                          Case{4.5, 11.3, 0.95, 1.02, -0.08, 1.05, 11.357099396008567},
                          Case{2.0, 13, 1.3, 1.3, 0, 1.0, 0.0},
                          Case{4.5, 12.5, 1.5, 1.2, 0.02, 1.1, -14.656789396316619}})
        EXPECT_NEAR(
            *INRDeviationPercent(c.inr, c.mnpt, c.isiWorking, c.slopeAbnormal, c.d, c.isiReference),
            c.expected, 1e-10);
    EXPECT_FALSE(INRDeviationPercent(2.0, 12, 0.0, 1.1, 0.0, 1.0).has_value());
}

} // namespace
} // namespace morvane
