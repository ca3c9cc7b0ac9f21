#pragma once

#include "calibration_checks.h"

#include <string>
#include <vector>

namespace morvane {

// The verdicts a check row shows. A row without a verdict is informative only.
inline constexpr const char* kVerdictPass = "Pass";
inline constexpr const char* kVerdictFail = "Fail";
inline constexpr const char* kVerdictNotAvailable = "Not available";

// One row of the checks as the window, the printout and the command line show it.
struct CheckRow {
    std::string check;
    std::string value;
    std::string limit;
    std::string verdict;

    friend bool operator==(const CheckRow&, const CheckRow&) = default;
};

// The rows in their fixed order: precision of the slope, design, exclusions, model adequacy,
// % INR deviation.
std::vector<CheckRow> CalibrationCheckRows(const CalibrationChecks& checks);

// "Calibration meets the guideline criteria" (with a remark when the displacement is
// significant), "Calibration does not meet the guideline criteria: " and the failed checks, or
// the line saying the calibration could not be judged.
std::string OverallCheckLine(const CalibrationChecks& checks);

// The checks as plain text: a title, the rows in aligned columns and the overall line, each
// line ending in CR LF. What Save As writes, Print prints and `morvane-cli checks` prints.
std::string CalibrationChecksText(const CalibrationChecks& checks);

} // namespace morvane
