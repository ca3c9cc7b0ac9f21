#include "report_header.h"

#include "version.h"

namespace morvane {

ReportDateTime FormatReportDateTime(std::time_t seconds, bool utc) {
    // std::gmtime and std::localtime share one static buffer; the copy is taken at once.
    const std::tm* shared = utc ? std::gmtime(&seconds) : std::localtime(&seconds);
    if (shared == nullptr)
        return {};
    const std::tm moment = *shared;
    char date[32];
    char time[32];
    std::strftime(date, sizeof date, "%Y-%m-%d", &moment);
    std::strftime(time, sizeof time, "%H:%M:%S", &moment);
    return {date, time};
}

ReportDateTime LocalReportDateTime() {
    return FormatReportDateTime(std::time(nullptr), false);
}

ReportHeader MakeReportHeader(const std::string& currentFileName, ReportDateTime moment) {
    return ReportHeader{currentFileName, kVersionCaption, std::move(moment.date),
                        std::move(moment.time)};
}

} // namespace morvane
