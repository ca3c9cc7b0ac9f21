// The printed report's layout: statements to runs of text at columns, lines to pages. The
// expected columns are counted by hand from the print-list rules: zones start at columns 0, 14,
// 28, 42 (counted from 0), "col n" is column n - 1.

#include "print_layout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace morvane {

void PrintTo(const PrintRun& run, std::ostream* os) {
    *os << "{" << run.column << ", \"" << run.text << "\"}";
}

namespace {

using Item = ReportItem;
using Lines = std::vector<PrintLine>;

const ColumnWidth kFixedPitch = CharacterColumns;
constexpr PrintArea kRoomy{200.0, 1000};

// A face whose characters are `factor` columns wide, as the rounded metrics of a printer font
// may make them.
ColumnWidth scaledPitch(double factor) {
    return [factor](std::string_view text) { return factor * CharacterColumns(text); };
}

// A proportional face: "W" is two columns wide, every other character half a column.
double proportional(std::string_view text) {
    double width = 0.0;
    for (char c : text)
        width += c == 'W' ? 2.0 : 0.5;
    return width;
}

// All lines of all pages, in order.
Lines linesOf(const std::vector<PrintPage>& pages) {
    Lines lines;
    for (const PrintPage& page : pages)
        lines.insert(lines.end(), page.begin(), page.end());
    return lines;
}

Lines layOut(const ReportStatements& statements, const ColumnWidth& width = kFixedPitch,
             PrintArea area = kRoomy) {
    return linesOf(LayOutPrintedReport(statements, width, area));
}

struct LineCase {
    const char* name;
    ReportStatement statement;
    Lines expected;
};

TEST(PrintLayout, StatementsBecomeRunsAtTheirColumns) {
    const std::vector<LineCase> cases = {
        {"a zone advance from a zone's first column goes to the next zone",
         {Item::Text("ABCDEFGHIJKLMN"), Item::Zone(), Item::Text("x")},
         {{{0, "ABCDEFGHIJKLMN"}, {28, "x"}}}},
        {"numbers take their sign place and trailing space",
         {Item::Number(-0.5), Item::Number(0.046)},
         {{{0, "-.5  .046 "}}}},
        {"a tab to the current column joins the text",
         {Item::Text("123456789"), Item::Column(10), Item::Text("x")},
         {{{0, "123456789x"}}}},
        {"a tab to a column already passed starts a new line",
         {Item::Text("123456789012"), Item::Column(10), Item::Text("x")},
         {{{0, "123456789012"}}, {{9, "x"}}}},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(layOut({c.statement}), c.expected) << c.name;
}

TEST(PrintLayout, ProportionalTextFlowsAtItsOwnWidth) {
    const std::vector<LineCase> cases = {
        {"zone from inside column 14 goes to the next zone",
         {Item::Text("WWWWWWW"), Item::Text("i"), Item::Zone(), Item::Text("x")},
         {{{0, "WWWWWWWi"}, {28, "x"}}}},
        {"a tab never moves back over text that reaches into its column",
         {Item::Text("iii"), Item::Column(2), Item::Text("W")},
         {{{0, "iiiW"}}}},
        {"wide text beyond the tab breaks the line",
         {Item::Text("WWW"), Item::Column(3), Item::Text("i")},
         {{{0, "WWW"}}, {{2, "i"}}}},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(layOut({c.statement}, proportional), c.expected) << c.name;
}

TEST(PrintLayout, RoundedFontMetricsKeepColumnsOfAFixedPitchFace) {
    // Characters 0.2 % wider or narrower than the average width: text that ends on a column is
    // taken to end there.
    for (double factor : {1.002, 0.998}) {
        SCOPED_TRACE(factor);
        const Lines zone = layOut({{Item::Text("ABCDEFGHIJKLMN"), Item::Zone(), Item::Text("x")}},
                                  scaledPitch(factor));
        ASSERT_EQ(zone.size(), 1u);
        ASSERT_EQ(zone[0].size(), 2u);
        EXPECT_EQ(zone[0][1].column, 28.0);

        const Lines tab =
            layOut({{Item::Text("1234567890123456789"), Item::Column(20), Item::Text("PT")}},
                   scaledPitch(factor));
        ASSERT_EQ(tab.size(), 1u) << "a text reaching column 20 does not push col 20 on";
        EXPECT_EQ(tab[0].back().text.substr(tab[0].back().text.size() - 2), "PT");
    }
}

TEST(PrintLayout, TextWiderThanThePageContinuesOnTheNextLine) {
    constexpr PrintArea narrow{10.0, 1000};
    const std::vector<LineCase> cases = {
        {"from a column", {Item::Column(8), Item::Text("abcd")}, {{{7, "abc"}}, {{0, "d"}}}},
        {"a zone beyond the edge moves the text to the left edge",
         {Item::Zone(), Item::Text("x")},
         {{{0, "x"}}}},
        {"whole characters only",
         {Item::Text("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC"
                     "\xC3\xA4\xC3\xB6")},
         {{{0, "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4"}},
          {{0, "\xC3\xB6"}}}},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(layOut({c.statement}, kFixedPitch, narrow), c.expected) << c.name;
}

// Statements "L1" ... with a page break after the given statement numbers.
ReportStatements numberedLines(int count, std::vector<int> breaksAfter = {}) {
    ReportStatements statements;
    for (int n = 1; n <= count; ++n) {
        statements.push_back({Item::Text("L" + std::to_string(n))});
        for (int after : breaksAfter)
            if (after == n)
                statements.push_back({Item::PageBreak()});
    }
    return statements;
}

// The first text of each line of each page; "" for a blank line.
std::vector<std::vector<std::string>> pageTexts(const std::vector<PrintPage>& pages) {
    std::vector<std::vector<std::string>> texts;
    for (const PrintPage& page : pages) {
        texts.emplace_back();
        for (const PrintLine& line : page)
            texts.back().push_back(line.empty() ? "" : line.front().text);
    }
    return texts;
}

using PageTexts = std::vector<std::vector<std::string>>;

struct PageCase {
    const char* name;
    ReportStatements statements;
    PageTexts expected;
};

TEST(PrintLayout, PagesHoldTheirLinesAndBreakWhereTold) {
    constexpr PrintArea threeLines{80.0, 3};
    ReportStatements trailingBlanks = numberedLines(3);
    trailingBlanks.insert(trailingBlanks.end(), {{}, {}});
    const std::vector<PageCase> cases = {
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
    for (const PageCase& c : cases)
        EXPECT_EQ(pageTexts(LayOutPrintedReport(c.statements, kFixedPitch, threeLines)), c.expected)
            << c.name;
}

TEST(PrintLayout, WordsStandWhereTheWholeRunWouldPutThem) {
    // Proportional: the prefixes "WW " and "WW i " are 4.5 and 5.5 columns wide.
    EXPECT_EQ(SplitIntoWords({1.0, "WW i Wi"}, proportional),
              (std::vector<PrintRun>{{1.0, "WW"}, {5.5, "i"}, {6.5, "Wi"}}));
    EXPECT_TRUE(SplitIntoWords({3.0, "   "}, kFixedPitch).empty());
}

} // namespace
} // namespace morvane
