#include "calibration_checks.h"

#include "report_arithmetic.h"

#include <cmath>

namespace morvane {

using namespace report;

namespace {

void judgeSlopePrecision(const CalibrationResults& results, CalibrationChecks& checks) {
    checks.SlopeCV = percentOf(results.SESlopeAll, results.SlopeAll);
    if (checks.SlopeCV)
        checks.SlopeCVPass = *checks.SlopeCV <= kSlopeCVLimit;
}

void judgeDesign(const CalibrationDataSet& data, const CalibrationResults& results,
                 CalibrationChecks& checks) {
    checks.NormalsInDataSet = results.NormalCount;
    checks.AbnormalsInDataSet = results.AbnormalCount;
    checks.NormalsUsed = results.NormalsUsed;
    checks.AbnormalsUsed = results.AbnormalsUsed;
    checks.DesignPass =
        results.NormalCount >= kMinimumNormals && results.AbnormalCount >= kMinimumAbnormals;
    checks.INRExcludedCount = results.INRExcludedCount;
    checks.SDExcludedCount = results.SDExcludedCount;
    if (data.SampleCount > 0)
        checks.ExcludedPercent =
            100.0 * (results.INRExcludedCount + results.SDExcludedCount) / data.SampleCount;
}

void judgeDisplacement(const CalibrationDataSet& data, const CalibrationResults& results,
                       CalibrationChecks& checks) {
    if (const auto pHigh = results.DisplacementPHigh.number())
        checks.DisplacementSignificant = *pHigh <= kSignificanceLevel;
    const auto mnpt = results.MNPTWorkingUsed.number();
    const auto isi = results.ISIWorking.number();
    const auto slope = results.SlopeAbnormal.number();
    const auto d = results.Displacement.number();
    const auto isiReference = data.ISIReference.number();
    if (!mnpt || !isi || !slope || !d || !isiReference)
        return;
    checks.INRDeviationAt2 = INRDeviationPercent(2.0, *mnpt, *isi, *slope, *d, *isiReference);
    checks.INRDeviationAt4_5 = INRDeviationPercent(4.5, *mnpt, *isi, *slope, *d, *isiReference);
    if (checks.DisplacementSignificant == true && checks.INRDeviationAt2 &&
        checks.INRDeviationAt4_5)
        checks.INRDeviationPass = std::fabs(*checks.INRDeviationAt2) <= kINRDeviationLimit &&
                                  std::fabs(*checks.INRDeviationAt4_5) <= kINRDeviationLimit;
}

// Meets the criteria when the slope's precision, the design and (when judged) the INR deviation
// pass; cannot be judged when one of them, or the displacement test deciding whether the
// deviation is judged, is missing. A failed fit is never judged.
std::optional<bool> overallVerdict(const CalibrationChecks& checks) {
    if (!checks.SlopeCVPass || !checks.DisplacementSignificant)
        return std::nullopt;
    if (*checks.DisplacementSignificant && !checks.INRDeviationPass)
        return std::nullopt;
    return *checks.SlopeCVPass && checks.DesignPass && checks.INRDeviationPass.value_or(true);
}

} // namespace

CalibrationChecks ComputeCalibrationChecks(const CalibrationDataSet& data,
                                           const CalibrationResults& results) {
    CalibrationChecks checks;
    checks.CalibrationFailed = results.CalibrationFailed;
    judgeDesign(data, results, checks);
    // A failed fit leaves the lines and the displacement of an earlier run in the record.
    if (checks.CalibrationFailed)
        return checks;
    judgeSlopePrecision(results, checks);
    judgeDisplacement(data, results, checks);
    checks.MeetsCriteria = overallVerdict(checks);
    return checks;
}

std::optional<double> TomensonINRAt(double targetINR, double mnptWorking, double isiWorking,
                                    double slopeAbnormal, double displacement,
                                    double isiReference) {
    const Number workingPT = product(mnptWorking, power(targetINR, quotient(1.0, isiWorking)));
    return tomensonINR(quotient(workingPT, mnptWorking), slopeAbnormal, exponential(displacement),
                       isiReference);
}

std::optional<double> INRDeviationPercent(double targetINR, double mnptWorking, double isiWorking,
                                          double slopeAbnormal, double displacement,
                                          double isiReference) {
    const auto inr = TomensonINRAt(targetINR, mnptWorking, isiWorking, slopeAbnormal, displacement,
                                   isiReference);
    if (!inr)
        return std::nullopt;
    return finiteOrNothing(100.0 * (*inr / targetINR - 1.0));
}

} // namespace morvane
