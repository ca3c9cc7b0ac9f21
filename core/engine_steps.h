#pragma once

#include "calibration_records.h"
#include "critical_t_table.h"
#include "message.h"

namespace morvane {

// The statistical steps of a calibration run, in the order the run calls them. Each reads its
// inputs from the records and writes its outputs into the results. An arithmetic failure inside
// a step (the logarithm of a PT of 0, a square root of a negative number, a division by zero)
// ends that step where it happened: the fields written before keep their new values, the
// others are left empty, so that no value of the previous run passes for this run's. Steps the
// run skips (after too few samples were left) keep all their fields from the previous run.

inline constexpr const char* kInsufficientAfterExclusionsText =
    "After exclusions, there is insufficient data to perform the calibration";

// Sorts the samples into the normal and the abnormal group, each in grid order.
void SplitByTag(const CalibrationDataSet& data, CalibrationResults& results);

// MNPTReference: the geometric mean of the reference PTs of all normal samples.
void MeanNormalPT(CalibrationResults& results);

// Flags the abnormal samples whose reference INR lies outside the INR limits (inclusive).
void ExcludeByINR(const CalibrationDataSet& data, const CalibrationSettings& settings,
                  CalibrationResults& results);

// The orthogonal line through all samples within the INR limits, refitted once without the
// samples beyond the SD limit, with the slope's confidence interval. Reports too few samples
// through the sink and sets CalibrationFailed.
void FitOrthogonalLine(const CalibrationDataSet& data, const CalibrationSettings& settings,
                       const CriticalTTable& table, CalibrationResults& results, MessageSink& sink);

// The orthogonal line through the abnormal samples kept by both exclusions.
void FitAbnormalOnlyLine(const CalibrationSettings& settings, const CriticalTTable& table,
                         CalibrationResults& results);

// The displacement of the abnormal-only line from the normals' mean point, its confidence
// interval and test for zero displacement, and the MNPTs of the normals taken.
void ApplyTomensonCorrection(const CalibrationSettings& settings, const CriticalTTable& table,
                             CalibrationResults& results);

// Brings the approximate degrees of freedom of the displacement test to an integer: a fraction
// of one half or more goes up (12.5 gives 13, 12.49 gives 12).
double RoundDegreesOfFreedom(double f);

// The ISI of the working preparation and its standard error, from the all-samples slope.
void ComputeISI(const CalibrationDataSet& data, CalibrationResults& results);

} // namespace morvane
