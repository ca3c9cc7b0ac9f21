// The printed report's layout: statements to runs of text at columns, lines to pages. The
// expected columns are counted by hand from the print-list rules: zones start at columns 0, 14,
// 28, 42 (counted from 0), "col n" is column n - 1.
#include "report_page_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace morvane {
namespace {

using Item = ReportItem;

// A proportional face: "W" is two columns wide, every other character half a column.
double proportional(std::string_view text) {
    return 0.5 * static_cast<double>(text.size()) +
           1.5 * static_cast<double>(std::count(text.begin(), text.end(), 'W'));
}

// Fixed-pitch characters 0.2 % wider than a column, as a printer font's rounded metrics may
// make them: a text that ends on a column is taken to end there.
double roundedPitch(std::string_view text) {
    return 1.002 * CharacterColumns(text);
}

// Lines "L1" ... with a page break after the given line numbers.
ReportStatements numberedLines(int count, std::vector<int> breaksAfter = {}) {
    ReportStatements statements;
    for (int n = 1; n <= count; ++n) {
        statements.push_back({Item::Text("L" + std::to_string(n))});
        if (std::count(breaksAfter.begin(), breaksAfter.end(), n))
            statements.push_back({Item::PageBreak()});
    }
    return statements;
}

// Every printed line as its runs "column:text", each line and page ended by "/" and "--".
void expectPrinted(const char* name, const ReportStatements& statements, const ColumnWidth& width,
                   PrintArea area, const std::string& expected) {
    std::ostringstream lines;
    for (const PrintPage& page : LayOutPrintedReport(statements, width, area)) {
        for (const PrintLine& line : page) {
            for (const PrintRun& run : line)
                lines << (&run == &line.front() ? "" : " ") << run.column << ':' << run.text;
            lines << '/';
        }
        lines << "--";
    }
    EXPECT_EQ(lines.str(), expected) << name;
}

TEST(PrintLayout, StatementsBecomeRunsAtTheirColumnsOnTheirPages) {
    const ColumnWidth fixed = CharacterColumns;
    const PrintArea roomy{200, 99};
    const PrintArea threeLines{80, 3};
    expectPrinted("a zone advance from a zone's first column goes to the next zone",
                  {{Item::Text("ABCDEFGHIJKLMN"), Item::Zone(), Item::Text("x")}}, roundedPitch,
                  roomy, "0:ABCDEFGHIJKLMN 28:x/--");
    expectPrinted("a tab to the current column joins the text",
                  {{Item::Text("123456789"), Item::Column(10), Item::Text("x")}}, roundedPitch,
                  roomy, "0:123456789x/--");
    expectPrinted("a tab to a column already passed starts a new line",
                  {{Item::Text("123456789012"), Item::Column(10), Item::Text("x")}}, fixed, roomy,
                  "0:123456789012/9:x/--");
    expectPrinted("a tab never moves back over proportional text reaching into its column",
                  {{Item::Text("iii"), Item::Column(2), Item::Text("W")}}, proportional, roomy,
                  "0:iiiW/--");
    expectPrinted("text wider than the page goes on at the next line's start",
                  {{Item::Column(8), Item::Text("abcd")}}, fixed, {10, 99}, "7:abc/0:d/--");
    expectPrinted("a number is printed in its print-list form",
                  {{Item::Text("n ="), Item::Number(-2.5)}}, fixed, roomy, "0:n =-2.5 /--");
    expectPrinted("text that has no room after a full line starts the next",
                  {{Item::Text("abcdefghij"), Item::Text("xy")}}, fixed, {10, 99},
                  "0:abcdefghij/0:xy/--");
    expectPrinted("text that has no room after a tab starts the same line over",
                  {{Item::Column(10), Item::Text("xy")}}, fixed, {9, 99}, "0:xy/--");
    expectPrinted("a line breaks between whole characters",
                  {{Item::Text("\xC3\xA4\xC3\xB6\xC3\xBC")}}, fixed, {2, 99},
                  "0:\xC3\xA4\xC3\xB6/0:\xC3\xBC/--");
    expectPrinted("a line breaks between whole characters of three bytes too", {{Item::Text("€€")}},
                  proportional, {2, 99}, "0:€/0:€/--");
    expectPrinted("a page narrower than one character takes one a line", {{Item::Text("WW")}},
                  proportional, {1, 99}, "0:W/0:W/--");
    expectPrinted("a full page goes on on the next", numberedLines(4), fixed, threeLines,
                  "0:L1/0:L2/0:L3/--0:L4/--");
    expectPrinted("a page break on a full page leaves no blank page", numberedLines(5, {3}), fixed,
                  threeLines, "0:L1/0:L2/0:L3/--0:L4/0:L5/--");
    expectPrinted("a page break at the end starts no page", numberedLines(2, {2}), fixed,
                  threeLines, "0:L1/0:L2/--");
    ReportStatements trailingBlanks = numberedLines(3);
    trailingBlanks.insert(trailingBlanks.end(), {{}, {}});
    expectPrinted("blank lines alone on the last page are not printed", trailingBlanks, fixed,
                  threeLines, "0:L1/0:L2/0:L3/--");
    std::ostringstream words; // the printer draws each word at its own column
    for (const PrintRun& word : SplitIntoWords({10, "  ISI =  1.1 "}, fixed))
        words << word.column << ':' << word.text << ' ';
    EXPECT_EQ(words.str(), "12:ISI 16:= 19:1.1 ");
}

} // namespace
} // namespace morvane
