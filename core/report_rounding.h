#pragma once

#include "calibration_records.h"

namespace morvane {

// The values the report forms for itself and keeps nowhere else: the coefficients of variation
// of the two slopes (texts of two decimals) and of the reference ISI (a number of two decimals).
// Each is empty when it cannot be computed (a slope or ISI of zero, a value that is missing).
struct ReportOnlyValues {
    Value CVSlopeAbnormal;
    Value CVSlopeAll;
    Value CVISIReference;
};

// The results as the report, the printout and the plot show them: the result fields replaced by
// their rounded display values (also LowerINR and UpperINR of the settings), CVISIWorking formed
// from the rounded ISI, and the report's own figures. The unrounded results stay beside it for
// the JSON document and the guideline checks.
struct ShownResults {
    CalibrationSettings settings;
    CalibrationResults results;
    ReportOnlyValues reportOnly;
};

// Rounds a copy of the results in the report's fixed order. Rounding shown results again
// changes nothing. A field that cannot be rounded (empty, or a text that is not a number) is
// kept as it is.
ShownResults RoundResultsForReport(const CalibrationDataSet& data,
                                   const CalibrationSettings& settings,
                                   const CalibrationResults& results);

} // namespace morvane
