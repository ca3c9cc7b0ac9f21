// The printed report's layout: statements to runs of text at columns, lines to pages. The
// expected columns are counted by hand from the print-list rules: zones start at columns 0, 14,
// 28, 42 (counted from 0), "col n" is column n - 1.
#include "print_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace morvane {

void PrintTo(const PrintRun& run, std::ostream* os) {
    *os << "{" << run.column << ", \"" << run.text << "\"}";
}

namespace {

using Item = ReportItem;
using Lines = std::vector<PrintLine>;

// A proportional face: "W" is two columns wide, every other character half a column.
double proportional(std::string_view text) {
    double width = 0.0;
    for (char c : text)
        width += c == 'W' ? 2.0 : 0.5;
    return width;
}

// A fixed-pitch face whose characters come out 0.2 % wide of a column, as the rounded metrics
// of a printer font may make them: text that ends on a column is taken to end there.
double roundedPitch(std::string_view text) {
    return 1.002 * CharacterColumns(text);
}

struct LineCase {
    const char* name;
    ReportStatement statement;
    ColumnWidth width;
    double pageColumns;
    Lines expected;
};

TEST(PrintLayout, StatementsBecomeRunsAtTheirColumns) {
    const ColumnWidth fixed = CharacterColumns;
    const std::vector<LineCase> cases = {
        {"a zone advance from a zone's first column goes to the next zone",
         {Item::Text("ABCDEFGHIJKLMN"), Item::Zone(), Item::Text("x")},
         roundedPitch,
         200,
         {{{0, "ABCDEFGHIJKLMN"}, {28, "x"}}}},
        {"numbers take their sign place and trailing space",
         {Item::Number(-0.5), Item::Number(0.046)},
         fixed,
         200,
         {{{0, "-.5  .046 "}}}},
        {"a tab to the current column joins the text",
         {Item::Text("123456789"), Item::Column(10), Item::Text("x")},
         roundedPitch,
         200,
         {{{0, "123456789x"}}}},
        {"a tab to a column already passed starts a new line",
         {Item::Text("123456789012"), Item::Column(10), Item::Text("x")},
         fixed,
         200,
         {{{0, "123456789012"}}, {{9, "x"}}}},
        {"proportional text: a tab never moves back over text reaching into its column",
         {Item::Text("iii"), Item::Column(2), Item::Text("W")},
         proportional,
         200,
         {{{0, "iiiW"}}}},
        {"text wider than the page goes on at the next line's start",
         {Item::Column(8), Item::Text("abcd")},
         fixed,
         10,
         {{{7, "abc"}}, {{0, "d"}}}},
        {"whole characters only",
         {Item::Text("\xC3\xA4\xC3\xB6\xC3\xBC")},
         fixed,
         2,
         {{{0, "\xC3\xA4\xC3\xB6"}}, {{0, "\xC3\xBC"}}}},
    };
    for (const LineCase& c : cases) {
        std::vector<PrintLine> lines;
        for (const PrintPage& page :
             LayOutPrintedReport({c.statement}, c.width, {c.pageColumns, 99}))
            lines.insert(lines.end(), page.begin(), page.end());
        EXPECT_EQ(lines, c.expected) << c.name;
    }
}

// Statements "L1" ... with a page break after the given statement numbers.
ReportStatements numberedLines(int count, std::vector<int> breaksAfter = {}) {
    ReportStatements statements;
    for (int n = 1; n <= count; ++n) {
        statements.push_back({Item::Text("L" + std::to_string(n))});
        if (std::count(breaksAfter.begin(), breaksAfter.end(), n))
            statements.push_back({Item::PageBreak()});
    }
    return statements;
}

TEST(PrintLayout, PagesHoldTheirLinesAndBreakWhereTold) {
    using PageTexts = std::vector<std::vector<std::string>>;
    ReportStatements trailingBlanks = numberedLines(3);
    trailingBlanks.insert(trailingBlanks.end(), {{}, {}});
    const std::vector<std::tuple<const char*, ReportStatements, PageTexts>> cases = {
        {"a full page goes on on the next",
         numberedLines(7),
         {{"L1", "L2", "L3"}, {"L4", "L5", "L6"}, {"L7"}}},
        {"a page break on a full page leaves no blank page",
         numberedLines(5, {3}),
         {{"L1", "L2", "L3"}, {"L4", "L5"}}},
        {"a page break at the end starts no page", numberedLines(2, {2}), {{"L1", "L2"}}},
        {"blank lines alone on the last page are not printed",
         trailingBlanks,
         {{"L1", "L2", "L3"}}},
    };
    for (const auto& [name, statements, expected] : cases) {
        PageTexts texts;
        for (const PrintPage& page : LayOutPrintedReport(statements, CharacterColumns, {80.0, 3})) {
            texts.emplace_back();
            for (const PrintLine& line : page)
                texts.back().push_back(line.empty() ? "" : line.front().text);
        }
        EXPECT_EQ(texts, expected) << name;
    }
}

TEST(PrintLayout, WordsStandWhereTheWholeRunWouldPutThem) {
    // The prefixes "WW " and "WW i " are 4.5 and 5.5 columns wide.
    EXPECT_EQ(SplitIntoWords({1.0, "WW i Wi"}, proportional),
              (std::vector<PrintRun>{{1.0, "WW"}, {5.5, "i"}, {6.5, "Wi"}}));
    EXPECT_TRUE(SplitIntoWords({3.0, "   "}, CharacterColumns).empty());
}

} // namespace
} // namespace morvane
