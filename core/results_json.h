#pragma once

#include "calibration_checks.h"
#include "calibration_records.h"
#include "message.h"
#include "report_rounding.h"

#include <string>
#include <vector>

namespace morvane {

// The settings, results, messages and guideline checks of a calibration run as a JSON document:
// {"settings": {...}, "results": {...}, "messages": [{"title": ..., "text": ...}],
// "checks": {...}}. Keys are the record field names. Numbers are written so that each reads back
// to the same double; a value never computed (empty, or not finite) is null; a text that reads as
// a number is written as that number. The results are those computed, not rounded; only the
// working ISI's coefficient of variation, which the report forms, comes from the shown results.
// INRExcluded and SDExcluded are arrays of 0/1 for samples 1 to SampleCount. Message titles are the
// titles the message boxes show. A check's value or verdict that could not be formed is null.
std::string ResultsToJson(const CalibrationDataSet& data, const CalibrationSettings& settings,
                          const CalibrationResults& results, const ShownResults& shown,
                          const std::vector<Message>& messages, const CalibrationChecks& checks);

} // namespace morvane
