// The report's edge cases, from the records the worked example's run leaves (two normal, three
// abnormal plasmas, reference ISI 1.1, SE 0.02, upper INR limit 6): its statistics are computed
// in tests/data/report_worked_example.bc. Whole reports (header, a failed fit, every section
// with the Tomenson column) are pinned byte for byte by the command-line tests.

#include "calibration_run.h"
#include "report_statements.h"
#include "report_text_layout.h"
#include "results_report.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace morvane {
namespace {

const std::string U(58, '_');

std::string spaces(int count) {
    return std::string(count, ' ');
}

class ResultsReport : public ::testing::Test {
protected:
    void SetUp() override {
        EditorFields run{.txtISI = "1.1", .txtSEISI = "0.02", .txtUpperINR = "6"};
        RecordingMessageSink sink;
        ASSERT_EQ(
            PerformCalibrationRun(c, testing::GridOf(testing::WorkedExample()), run, sink).outcome,
            RunOutcome::Calibrated);
    }

    ShownResults shown() const { return RoundResultsForReport(c.data, c.settings, c.results); }

    // The report, whose text must end in CR LF.
    std::string report() {
        const std::string text = BuildResultsReport(c.data, shown(), editor, header);
        EXPECT_TRUE(text.ends_with("\r\n"));
        return text;
    }

    // Whether the report holds these whole lines one after another.
    ::testing::AssertionResult shows(const std::vector<std::string>& lines) {
        std::string block = "\n";
        for (const std::string& line : lines)
            block += line + "\r\n";
        const std::string text = report();
        if (text.find(block) != std::string::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no" << block << "in\n" << text;
    }

    Calibration c{{}, {}, {}, testing::ShippedTable()};
    EditorFields editor{.txtIRP = "RP lot 1", .txtWRP = "WP lot 2"};
    ReportHeader header{"C:\\lab\\run5.txt", "Version 9.9", "2024-03-05", "14:07:09"};
};

TEST_F(ResultsReport, BothExclusionListsWithThreeDigitPlasmas) {
    c.data.SampleCount = 100; // the worked example's five plasmas repeated down the rows
    for (int i = 6; i <= 100; ++i) {
        c.data.WorkingPT[i] = c.data.WorkingPT[(i - 1) % 5 + 1];
        c.data.ReferencePT[i] = c.data.ReferencePT[(i - 1) % 5 + 1];
    }
    c.results.INRExcluded[5] = c.results.INRExcluded[100] = c.results.SDExcluded[2] = 1;
    c.results.INRExcludedCount = 2;
    c.results.SDExcludedCount = 1;
    c.settings.LowerINR = Value("1.75"); // rounded to one decimal before it is shown with two
    c.settings.SDLimit = 2.5;
    // (55 / 12.845232578665129)^1.1 = 4.95202455 (bc). Three-digit plasma numbers keep the rows
    // of the lists and of the final table on one line; no Tomenson column, its box unticked.
    EXPECT_EQ(
        BuildResultsReport(c.data, shown(), editor, header),
        testing::ReadBytes(MORVANE_TEST_DATA_DIR "/report_plasma_100_in_both_exclusion_lists.txt"));
    c.results.INRExcluded[100] = 0; // the last row is listed among the SD exclusions too
    c.results.SDExcluded[100] = 1;
    EXPECT_NE(BuildResultsReport(c.data, shown(), editor, header)
                  .find("\r\n" + spaces(20) + "100      55 \r\n"),
              std::string::npos);
}

// The CV of slope comes from the four-decimal values: 100 x 0.0123 / 1.0567 = 1.164, where the
// unrounded 100 x 0.012349 / 1.05674 would give 1.1686. A slope interval of zero is no interval:
// its line goes, the blank line before it stays. A plain number below 1 loses its leading zero.
TEST_F(ResultsReport, LineDetails) {
    c.results.SlopeAll = 1.05674;
    c.results.SESlopeAll = 0.012349;
    c.results.SlopeCILowAll = 0.0;
    c.results.SlopeCIHighAbnormal = 0.98712;
    EXPECT_TRUE(shows({"    SD about line = 0.0102   CV of slope = 1.16", "", U}));
    EXPECT_TRUE(shows({"    95% Confidence Interval for slope: (1.0241,  .9871 )"}));
}

TEST_F(ResultsReport, ExactlyOneFormOfThePValueFitsTheBracket) {
    const struct {
        double low, high;
        std::string text;
    } cases[] = {{0.0, 0.001, "p-value < 0.001"},
                 {0.9, 1.0, "p-value > 0.900"},
                 {0.05, 0.06, "0.050 < p-value < 0.060"}};
    for (const auto& bracket : cases) {
        c.results.DisplacementPLow = bracket.low;
        c.results.DisplacementPHigh = bracket.high;
        EXPECT_TRUE(shows({spaces(48) + "degrees of freedom =  2", spaces(48) + bracket.text, ""}));
    }
}

TEST_F(ResultsReport, PrintedVariantDiffersOnlyWhereThePrinterNeedsIt) {
    c.results.INRExcluded[5] = c.results.SDExcluded[1] = 1;
    c.results.INRExcludedCount = c.results.SDExcludedCount = 1;
    const ReportStatements printed =
        BuildReportStatements(c.data, shown(), editor, header, ReportDestination::Printer);
    const std::string text = RenderReportText(printed);
    for (const std::string& line : {"Date: 2024-03-05" + spaces(26) + "Time: 14:07:09\r\n",
                                    spaces(14) + "    Plasma       PT                INR\r\n",
                                    spaces(14) + "    Plasma       PT\r\n",
                                    "\n" + spaces(47) + "degrees of freedom =  2\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    ASSERT_EQ(std::count_if(printed.begin(), printed.end(), IsPageBreak), 1);
    const auto pageBreak = std::find_if(printed.begin(), printed.end(), IsPageBreak);
    EXPECT_EQ(pageBreak[-1].front().text, U);
    EXPECT_EQ(pageBreak[1].front().text, "PROTHROMBIN TIMES AND INTERNATIONAL NORMALIZED RATIOS");
}

// Print zones every 14 columns from column 1; a column tab already passed breaks the line; a
// UTF-8 letter takes one column; a page break writes nothing into the text.
TEST(PrintListLayout, PlacesItemsByZonesAndColumns) {
    using I = ReportItem;
    const std::pair<ReportStatements, std::string> cases[] = {
        {{{}}, "\r\n"},
        {{{I::Zone(), I::Zone(), I::Text("x")}}, spaces(28) + "x\r\n"},
        {{{I::Text(spaces(13)), I::Zone()}}, spaces(14) + "\r\n"},
        {{{I::Text("ab"), I::Column(5), I::Text("x")}}, "ab  x\r\n"},
        {{{I::Text("abcd"), I::Column(5), I::Text("x")}}, "abcdx\r\n"},
        {{{I::Text("abcdef"), I::Column(5), I::Text("x")}}, "abcdef\r\n    x\r\n"},
        {{{I::Number(25), I::Number(-0.5), I::Text("|")}}, " 25 -.5 |\r\n"},
        {{{I::Text("\xC3\xA9"), I::Zone(), I::Text("x")}}, "\xC3\xA9" + spaces(13) + "x\r\n"},
        {{{I::Text("a")}, {I::PageBreak()}, {I::Text("b")}}, "a\r\nb\r\n"},
    };
    for (const auto& [statements, text] : cases)
        EXPECT_EQ(RenderReportText(statements), text);
}

} // namespace
} // namespace morvane
