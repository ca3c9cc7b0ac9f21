#pragma once

// The printed report laid out on pages: runs of text at columns of the printer font.

#include "report_statements.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// A piece of text on a printed line. Its column counts average character widths of the printer
// font from the left edge of the printable area: 0 is the first column, and a text following
// text of a proportional font may start between two columns.
struct PrintRun {
    double column = 0.0;
    std::string text;

    friend bool operator==(const PrintRun&, const PrintRun&) = default;
};

using PrintLine = std::vector<PrintRun>;
using PrintPage = std::vector<PrintLine>;

// The width of a text in columns: its advance in the printer font divided by the font's average
// character width.
using ColumnWidth = std::function<double(std::string_view text)>;

// The width of a text in a fixed-pitch font whose characters are one column wide: its number of
// characters (UTF-8 continuation bytes take no column).
double CharacterColumns(std::string_view text);

// The printable area of a page, in columns of the printer font and in lines.
struct PrintArea {
    double columns = 0.0;
    int lines = 0;
};

// Lays the statements of the printed report out on pages by the print-list rules. Texts and
// numbers are placed one after the other at their own width; a zone advance moves to the next
// print zone (every 14 columns), a column tab to its column, on a new line when the line is
// already beyond it. A text that would run past the right edge continues on the next line, a
// full page on the next page, and a page-break statement makes the next line start a new page.
// Pages that hold nothing but blank lines at the end of the report are left out.
std::vector<PrintPage> LayOutPrintedReport(const ReportStatements& statements,
                                           const ColumnWidth& width, PrintArea area);

// The words of a run (its texts between spaces), each at its own column, so that every word
// stands at the position the whole run would give it whatever the font draws for a space.
std::vector<PrintRun> SplitIntoWords(const PrintRun& run, const ColumnWidth& width);

} // namespace morvane
