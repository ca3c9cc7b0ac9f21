#include "report_clock.h"

#include "version.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace morvane {

namespace {

std::optional<std::time_t> sourceDateEpoch() {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    long long seconds = 0;
    const char* end = text + std::strlen(text);
    auto [stop, error] = std::from_chars(text, end, seconds);
    if (error != std::errc() || stop != end || seconds < 0)
        return std::nullopt;
    return static_cast<std::time_t>(seconds);
}

} // namespace

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

ReportDateTime CurrentReportDateTime() {
    if (const auto fixed = sourceDateEpoch())
        return FormatReportDateTime(*fixed, true);
    return FormatReportDateTime(std::time(nullptr), false);
}

ReportHeader MakeReportHeader(const std::string& currentFileName) {
    ReportDateTime now = CurrentReportDateTime();
    return ReportHeader{currentFileName, kVersionCaption, std::move(now.date), std::move(now.time)};
}

} // namespace morvane
