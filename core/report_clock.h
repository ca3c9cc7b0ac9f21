#pragma once

#include "results_report.h"

#include <ctime>
#include <string>

namespace morvane {

// The date (YYYY-MM-DD) and time (HH:MM:SS) a report header prints.
struct ReportDateTime {
    std::string date;
    std::string time;
};

// The moment given in seconds since 1970-01-01 00:00 UTC, shown in UTC or in local time.
ReportDateTime FormatReportDateTime(std::time_t seconds, bool utc);

// Now: the time given by SOURCE_DATE_EPOCH (whole seconds since 1970, shown in UTC) when that
// variable is set to such a number, so that reports can be reproduced byte for byte; otherwise
// the local clock.
ReportDateTime CurrentReportDateTime();

// A report header for the given file name, with the program's version caption and the current
// date and time.
ReportHeader MakeReportHeader(const std::string& currentFileName);

} // namespace morvane
