#include "calibration_checks_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace morvane {

namespace {

const char* const kSlopeCheck = "Precision of the slope";
const char* const kDesignCheck = "Design";
const char* const kExclusionsCheck = "Exclusions";
const char* const kModelCheck = "Model adequacy (Tomenson)";
const char* const kDeviationCheck = "% INR deviation at INR 2.0 and 4.5";
const char* const kCrLf = "\r\n";

std::string fixed(double value, const char* format) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return buffer.data();
}

std::string percent(const std::optional<double>& value, const char* format = "%.2f") {
    return value ? fixed(*value, format) + " %" : std::string("-");
}

std::string verdict(const std::optional<bool>& pass) {
    if (!pass)
        return kVerdictNotAvailable;
    return *pass ? kVerdictPass : kVerdictFail;
}

CheckRow slopeRow(const CalibrationChecks& checks) {
    return {kSlopeCheck, checks.SlopeCV ? "CV " + percent(checks.SlopeCV) : "-",
            "<= " + fixed(kSlopeCVLimit, "%.1f") + " %", verdict(checks.SlopeCVPass)};
}

CheckRow designRow(const CalibrationChecks& checks) {
    const std::string value = std::to_string(checks.NormalsInDataSet) + " normal, " +
                              std::to_string(checks.AbnormalsInDataSet) + " abnormal (used " +
                              std::to_string(checks.NormalsUsed) + ", " +
                              std::to_string(checks.AbnormalsUsed) + ")";
    const std::string limit = ">= " + std::to_string(kMinimumNormals) +
                              " normal, >= " + std::to_string(kMinimumAbnormals) + " abnormal";
    return {kDesignCheck, value, limit, verdict(checks.DesignPass)};
}

CheckRow exclusionsRow(const CalibrationChecks& checks) {
    const std::string value = std::to_string(checks.INRExcludedCount) + " by INR limits, " +
                              std::to_string(checks.SDExcludedCount) + " by SD limit (" +
                              percent(checks.ExcludedPercent, "%.1f") + ")";
    return {kExclusionsCheck, value, "", ""};
}

CheckRow modelRow(const CalibrationChecks& checks) {
    std::string value = "-";
    if (checks.DisplacementSignificant)
        value = *checks.DisplacementSignificant ? "significant" : "not significant";
    std::optional<bool> pass;
    if (checks.DisplacementSignificant)
        pass = !*checks.DisplacementSignificant;
    return {kModelCheck, value, "not significant at 1 %", verdict(pass)};
}

// Judged only when the displacement is significant; otherwise the deviations are shown for
// information, without a verdict.
CheckRow deviationRow(const CalibrationChecks& checks) {
    const std::string value = percent(checks.INRDeviationAt2, "%+.2f") + " / " +
                              percent(checks.INRDeviationAt4_5, "%+.2f");
    const std::string limit = "within " + fixed(kINRDeviationLimit, "%.1f") + " % when significant";
    const bool computed = checks.INRDeviationAt2 && checks.INRDeviationAt4_5;
    const bool judged = checks.DisplacementSignificant == true;
    std::string shown = verdict(checks.INRDeviationPass);
    if (computed && !judged)
        shown.clear();
    return {kDeviationCheck, value, limit, shown};
}

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

} // namespace

std::vector<CheckRow> CalibrationCheckRows(const CalibrationChecks& checks) {
    return {slopeRow(checks), designRow(checks), exclusionsRow(checks), modelRow(checks),
            deviationRow(checks)};
}

std::string OverallCheckLine(const CalibrationChecks& checks) {
    if (!checks.MeetsCriteria)
        return "Calibration could not be judged against the guideline criteria";
    if (*checks.MeetsCriteria) {
        std::string line = "Calibration meets the guideline criteria";
        if (checks.DisplacementSignificant == true)
            line += " (displacement significant, INR deviation within 10 %)";
        return line;
    }
    std::string failed;
    for (const CheckRow& row : CalibrationCheckRows(checks))
        if (row.verdict == kVerdictFail && row.check != kModelCheck)
            failed += (failed.empty() ? "" : ", ") + row.check;
    return "Calibration does not meet the guideline criteria: " + failed;
}

std::string CalibrationChecksText(const CalibrationChecks& checks) {
    std::vector<CheckRow> rows = CalibrationCheckRows(checks);
    rows.insert(rows.begin(), CheckRow{"Check", "Value", "Limit", "Verdict"});
    std::size_t widths[3] = {0, 0, 0};
    for (const CheckRow& row : rows) {
        widths[0] = std::max(widths[0], row.check.size());
        widths[1] = std::max(widths[1], row.value.size());
        widths[2] = std::max(widths[2], row.limit.size());
    }
    std::string text = std::string("Calibration Checks") + kCrLf + kCrLf;
    for (const CheckRow& row : rows) {
        std::string line = padded(row.check, widths[0] + 2) + padded(row.value, widths[1] + 2) +
                           padded(row.limit, widths[2] + 2) + row.verdict;
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + kCrLf;
    }
    return text + kCrLf + OverallCheckLine(checks) + kCrLf;
}

} // namespace morvane
