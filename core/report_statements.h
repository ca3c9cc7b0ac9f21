#pragma once

#include "calibration_records.h"
#include "report_header.h"
#include "report_rounding.h"

#include <string>
#include <vector>

namespace morvane {

// One item of a report statement, laid out on the line by the print-list rules: a text is
// appended unchanged; a number in its print-list form (sign place, general form, trailing
// space); a zone advance moves to the next print zone (columns 1, 15, 29, ... every 14); a
// column tab moves to its column, on a new line when the line is already past it. A page break
// item makes its statement a page break instead of a line (the printed report only).
struct ReportItem {
    enum class Kind { Text, Number, Zone, Column, PageBreak };

    Kind kind = Kind::Text;
    std::string text;
    double number = 0.0;
    int column = 0;

    static ReportItem Text(std::string text) { return {Kind::Text, std::move(text), 0.0, 0}; }
    static ReportItem Number(double number) { return {Kind::Number, {}, number, 0}; }
    static ReportItem Zone() { return {Kind::Zone, {}, 0.0, 0}; }
    static ReportItem Column(int column) { return {Kind::Column, {}, 0.0, column}; }
    static ReportItem PageBreak() { return {Kind::PageBreak, {}, 0.0, 0}; }

    friend bool operator==(const ReportItem&, const ReportItem&) = default;
};

// One statement writes one line (more when a column tab has to break it); no items: a blank
// line.
using ReportStatement = std::vector<ReportItem>;
using ReportStatements = std::vector<ReportStatement>;

// The width of a print zone in columns: zones start at columns 1, 15, 29, ...
inline constexpr int kZoneWidth = 14;

// Where a zone advance from a column (counted from 1) lands: the first column of the next zone.
constexpr int NextZoneColumn(int column) {
    return ((column - 1) / kZoneWidth + 1) * kZoneWidth + 1;
}

// Whether a column tab from a column to its target starts a new line first: the line is already
// past the target.
constexpr bool TabNeedsNewLine(int column, int target) {
    return column > target;
}

// True for a statement that starts a new page rather than writing a line.
bool IsPageBreak(const ReportStatement& statement);

// Where the statements go. The printed report differs from the text in a few places: two zone
// advances before "Time: " instead of four, wider headings of the exclusion lists, 47 spaces
// before "degrees of freedom", and a page break before the table of PTs and INRs.
enum class ReportDestination { Text, Printer };

// The report's statements for the destination, from the shown (rounded) results. The
// preparation names, confidence level and Tomenson box are the editor's.
ReportStatements BuildReportStatements(const CalibrationDataSet& data, const ShownResults& shown,
                                       const EditorFields& editor, const ReportHeader& header,
                                       ReportDestination destination);

} // namespace morvane
