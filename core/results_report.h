#pragma once

#include "calibration_records.h"

#include <string>

namespace morvane {

// What the report header takes from outside the calibration records.
struct ReportHeader {
    std::string currentFileName;
    std::string versionCaption; // the About box's version line
    std::string date;           // YYYY-MM-DD
    std::string time;           // HH:MM:SS
};

// Rounds the result fields in place to their display values (a lasting change: later reports,
// the printout and the plot use the rounded values) and returns the report text, lines ending
// in CR LF. Reads the preparation names, confidence level and Tomenson box from the editor.
std::string BuildResultsReport(const CalibrationDataSet& data, CalibrationSettings& settings,
                               CalibrationResults& results, const EditorFields& editor,
                               const ReportHeader& header);

} // namespace morvane
