#pragma once

#include "calibration_records.h"
#include "report_header.h"
#include "report_rounding.h"

#include <string>

namespace morvane {

// The report text of the shown (rounded) results, lines ending in CR LF. Reads the preparation
// names, confidence level and Tomenson box from the editor.
std::string BuildResultsReport(const CalibrationDataSet& data, const ShownResults& shown,
                               const EditorFields& editor, const ReportHeader& header);

} // namespace morvane
