#pragma once

#include "calibration_records.h"

#include <optional>

namespace morvane {

// The guideline's limits for an ISI calibration.
inline constexpr double kSlopeCVLimit = 3.0;       // percent, CV of the calibration slope
inline constexpr int kMinimumNormals = 20;         // normal plasmas in a full calibration
inline constexpr int kMinimumAbnormals = 60;       // patient plasmas in a full calibration
inline constexpr double kSignificanceLevel = 0.01; // Tomenson's displacement test
inline constexpr double kINRDeviationLimit = 10.0; // percent, clinically relevant INR bias

// Whether a calibration meets the guideline, check by check. Computed once at the end of a run
// from the engine's unrounded values; the window, the printout, the command line and the JSON
// only format it. A value or verdict that could not be formed is empty.
struct CalibrationChecks {
    // 1. Precision of the slope: 100 SE(b) / b of the all-samples line.
    std::optional<double> SlopeCV;
    std::optional<bool> SlopeCVPass;
    // 2. Design: the plasmas of the data set, and how many the lines used after the exclusions.
    int NormalsInDataSet = 0;
    int AbnormalsInDataSet = 0;
    int NormalsUsed = 0;
    int AbnormalsUsed = 0;
    bool DesignPass = false;
    // 3. Exclusions (no verdict): by the INR limits, by the SD limit, and their share of all
    // samples in percent.
    int INRExcludedCount = 0;
    int SDExcludedCount = 0;
    std::optional<double> ExcludedPercent;
    // 4. Model adequacy: Tomenson's displacement is significant at the 1 % level.
    std::optional<bool> DisplacementSignificant;
    // 5. % INR deviation of the Tomenson-corrected INR at INR 2.0 and 4.5; judged (the verdict
    // is set) only when the displacement is significant.
    std::optional<double> INRDeviationAt2;
    std::optional<double> INRDeviationAt4_5;
    std::optional<bool> INRDeviationPass;
    // 6. Overall: checks 1, 2 and 5 (when judged) pass; empty when it could not be judged.
    std::optional<bool> MeetsCriteria;
    bool CalibrationFailed = false;
};

// Judges the results of the run just made against the guideline. Call it before the report
// rounds the result fields in place.
CalibrationChecks ComputeCalibrationChecks(const CalibrationDataSet& data,
                                           const CalibrationResults& results);

// The INR that the abnormal-only line with Tomenson's displacement gives at the working PT
// which the all-samples calibration maps to targetINR, as the report's Tomenson column forms
// it: x = MNPT I^(1/ISI), INR = ((x / MNPT)^b × exp(d))^ISIref. Empty when not finite.
std::optional<double> TomensonINRAt(double targetINR, double mnptWorking, double isiWorking,
                                    double slopeAbnormal, double displacement, double isiReference);

// 100 (INRtom / I − 1): how far the Tomenson-corrected INR lies from the calibrated one.
std::optional<double> INRDeviationPercent(double targetINR, double mnptWorking, double isiWorking,
                                          double slopeAbnormal, double displacement,
                                          double isiReference);

} // namespace morvane
