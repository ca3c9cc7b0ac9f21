#pragma once

#include <ctime>
#include <string>

namespace morvane {

// What the report header takes from outside the calibration records.
struct ReportHeader {
    std::string currentFileName;
    std::string versionCaption; // the About box's version line
    std::string date;           // YYYY-MM-DD
    std::string time;           // HH:MM:SS
};

// The date (YYYY-MM-DD) and time (HH:MM:SS) a report header prints.
struct ReportDateTime {
    std::string date;
    std::string time;
};

// The moment given in seconds since 1970-01-01 00:00 UTC, shown in UTC or in local time.
ReportDateTime FormatReportDateTime(std::time_t seconds, bool utc);

// Now, by the local clock.
ReportDateTime LocalReportDateTime();

// A report header for the given file name, with the program's version caption and the date and
// time the caller chose.
ReportHeader MakeReportHeader(const std::string& currentFileName, ReportDateTime moment);

} // namespace morvane
