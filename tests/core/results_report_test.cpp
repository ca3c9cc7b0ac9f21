// The report's edge cases from hand-filled records. Whole reports (header, a failed fit, every
// section with the Tomenson column) are pinned byte for byte by the command-line tests; the
// statistics here are those of the worked example computed in tests/data/report_worked_example.bc
// (two normal, three abnormal plasmas, reference ISI 1.1).

#include "report_statements.h"
#include "results_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

using Lines = std::vector<std::string>;

const std::string U(58, '_');

std::string spaces(int count) {
    return std::string(count, ' ');
}

class ResultsReport : public ::testing::Test {
protected:
    void SetUp() override {
        useSamples(5);
        data.ISIReference = Value("1.1");
        data.SEISIReference = Value("0.02");
        editor.txtIRP = "RP lot 1";
        editor.txtWRP = "WP lot 2";
        CalibrationResults& r = results;
        r.NormalCount = r.NormalsUsed = 2;
        r.AbnormalCount = r.AbnormalsUsed = 3;
        r.MNPTReference = r.MNPTReferenceUsed = 12.845232578665129;
        r.MNPTWorkingUsed = 12.489995996796796;
        r.InterceptAll = -0.31333068954587036;
        r.SlopeAll = 1.1358954676205634;
        r.SEInterceptAll = 0.042515622469908834;
        r.SESlopeAll = 0.013752487987044212;
        r.SDAboutLineAll = 0.010171740477756604;
        r.SlopeCILowAll = 1.0930449564967772;
        r.SlopeCIHighAll = 1.1806481926297389;
        r.InterceptAbnormal = -0.29198830686911159;
        r.SlopeAbnormal = 1.1299636889497437;
        r.SEInterceptAbnormal = 0.029976721182923984;
        r.SESlopeAbnormal = 0.0087721246768638470;
        r.SDAboutLineAbnormal = 0.0033334359949162931;
        r.SlopeCILowAbnormal = 1.0241062395282459;
        r.SlopeCIHighAbnormal = 1.2482497038662359;
        r.Displacement = 0.0081159174889533496;
        r.DisplacementT = 0.41057155144343900;
        r.DisplacementDF = 2.0;
        r.DisplacementCILow = -0.076936192451031689;
        r.DisplacementCIHigh = 0.093168027428938389;
        r.DisplacementPLow = 0.7;
        r.DisplacementPHigh = 0.8;
        r.ISIWorking = 1.2494850143826197;
        r.SEISIWorking = 0.027293805626978216;
    }

    // The five plasmas of the worked example, repeated down the rows.
    void useSamples(int count) {
        const double working[] = {12, 13, 20, 30, 45};
        const double reference[] = {12.5, 13.2, 22, 35, 55};
        data.SampleCount = count;
        for (int i = 1; i <= count; ++i) {
            data.WorkingPT[i] = working[(i - 1) % 5];
            data.ReferencePT[i] = reference[(i - 1) % 5];
        }
    }

    void exclude(SampleFlags& flags, int& count, std::initializer_list<int> plasmas) {
        for (int i : plasmas)
            flags[i] = 1;
        count = static_cast<int>(plasmas.size());
    }

    // The report's lines; the text must end in CR LF.
    Lines lines() {
        const std::string text = BuildResultsReport(data, settings, results, editor, header);
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        Lines result;
        for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            result.push_back(text.substr(start, end - start));
        return result;
    }

    // `count` lines from the first that begins with `first`.
    Lines linesFrom(const std::string& first, std::size_t count) {
        const Lines all = lines();
        for (std::size_t k = 0; k < all.size(); ++k)
            if (all[k].rfind(first, 0) == 0)
                return {all.begin() + k, all.begin() + std::min(all.size(), k + count)};
        ADD_FAILURE() << "no line begins with " << first;
        return {};
    }

    CalibrationDataSet data;
    CalibrationSettings settings;
    CalibrationResults results;
    EditorFields editor;
    ReportHeader header{"C:\\lab\\run5.txt", "Version 9.9", "2024-03-05", "14:07:09"};
};

TEST_F(ResultsReport, BothExclusionListsWithThreeDigitPlasmas) {
    useSamples(100);
    exclude(results.INRExcluded, results.INRExcludedCount, {5, 100});
    exclude(results.SDExcluded, results.SDExcludedCount, {2});
    settings.LowerINR = Value("1.75"); // rounded to one decimal before it is shown with two
    settings.SDLimit = 2.5;
    // (55 / 12.845232578665129)^1.1 = 4.95202455 (bc).
    const Lines expected = {U,
                            spaces(14) + " Observations outside INR limits",
                            spaces(14) + "(MNPT derived from all  2 normal observations",
                            spaces(14) + "(lower limit=1.80; upper limit=4.50)",
                            "",
                            spaces(14) + "  Plasma     PT           INR",
                            spaces(19) + " 5 " + spaces(6) + " 55 " + spaces(10) + "4.95",
                            spaces(19) + " 100 " + spaces(4) + " 55 " + spaces(10) + "4.95",
                            U,
                            spaces(14) + " Observations outside SD limits",
                            spaces(14) + "(SD limit=2.50)",
                            "",
                            spaces(14) + "  Plasma     PT",
                            spaces(19) + " 2 " + spaces(6) + " 13.2 ",
                            U,
                            "ABNORMAL+NORMAL CALIBRATION (n =  97 )"};
    const Lines all = lines();
    EXPECT_EQ(Lines(all.begin() + 11, all.begin() + 11 + expected.size()), expected);
    // Three-digit plasma numbers keep the final table's rows on one line.
    EXPECT_EQ(all.back(), spaces(9) + " 100 " + spaces(5) + "55.00     4.95      45.00     4.96");
}

TEST_F(ResultsReport, LineDetails) {
    // CV of slope from the four-decimal values: 100 x 0.0123 / 1.0567 = 1.164, where the
    // unrounded 100 x 0.012349 / 1.05674 would give 1.1686.
    results.SlopeAll = 1.05674;
    results.SESlopeAll = 0.012349;
    results.SlopeCILowAll = 0.0; // no interval: its line goes, the blank line before it stays
    results.SlopeCILowAbnormal = 0.95112;
    results.SlopeCIHighAbnormal = 0.98712; // a plain number below 1 loses its leading zero
    EXPECT_EQ(linesFrom("    SD about line", 3),
              (Lines{"    SD about line = 0.0102   CV of slope = 1.16", "", U}));
    EXPECT_EQ(linesFrom("    95% Confidence Interval for slope", 1).front(),
              "    95% Confidence Interval for slope: (0.9511,  .9871 )");
}

struct PValueCase {
    double low;
    double high;
    std::string text;
};

class ResultsReportPValue : public ResultsReport,
                            public ::testing::WithParamInterface<PValueCase> {};

TEST_P(ResultsReportPValue, ExactlyOneFormFitsTheBracket) {
    results.DisplacementPLow = GetParam().low;
    results.DisplacementPHigh = GetParam().high;
    EXPECT_EQ(linesFrom(spaces(48) + "degrees", 3),
              (Lines{spaces(48) + "degrees of freedom =  2", spaces(48) + GetParam().text, ""}));
}

INSTANTIATE_TEST_SUITE_P(Brackets, ResultsReportPValue,
                         ::testing::Values(PValueCase{0.0, 0.001, "p-value < 0.001"},
                                           PValueCase{0.9, 1.0, "p-value > 0.900"},
                                           PValueCase{0.05, 0.06, "0.050 < p-value < 0.060"}));

TEST_F(ResultsReport, StandardErrorsAndCoefficientsOfVariationOfTheISI) {
    data.ISIReference = Value(1.0);
    data.SEISIReference = Value(0.0); // the run's replacement of an invalid entry
    results.ISIWorking = 1.0;
    results.SEISIWorking = 0.0085;
    EXPECT_EQ(linesFrom("ISI (RP lot 1)", 4),
              (Lines{"ISI (RP lot 1) = 1.0000", "MNPT =  12.8452  ( 2 normals)",
                     "Standard error =  0 ", "CV of ISI =  0 "}));
    EXPECT_EQ(linesFrom("ISI (WP lot 2)", 4),
              (Lines{"ISI (WP lot 2) = 1.0000", "MNPT = 12.4900 ( 2 normals)",
                     "Standard error = 0.0085", "CV of ISI =  .85 "}));
    data.SEISIReference = Value("0.023"); // a typed text is written as typed
    EXPECT_EQ(linesFrom("Standard error =", 2),
              (Lines{"Standard error = 0.023", "CV of ISI =  2.3 "}));
}

TEST_F(ResultsReport, TableHeadingsWithoutTomensonColumn) {
    EXPECT_EQ(linesFrom(spaces(19) + "Reference", 4),
              (Lines{spaces(19) + "Reference" + spaces(11) + "Working",
                     spaces(19) + "Thromboplastin" + spaces(6) + "Thromboplastin",
                     spaces(6) + "Plasma" + spaces(7) + "PT" + spaces(8) + "INR" + spaces(7) +
                         "PT" + spaces(8) + "INR",
                     spaces(9) + " 1 " + spaces(7) + "12.50     0.97      12.00     0.95"}));
}

TEST_F(ResultsReport, RoundsInPlaceOnceAndForAll) {
    const Lines first = lines();
    EXPECT_EQ(results.InterceptAbnormal, Value("-0.2920"));
    EXPECT_EQ(results.SlopeCIHighAbnormal, Value(1.2482));
    EXPECT_EQ(results.DisplacementCIHigh, Value(0.093));
    EXPECT_EQ(results.DisplacementPLow, Value("0.700"));
    EXPECT_EQ(results.CVISIWorking, Value(2.18)); // 100 x 0.0273 / 1.2495 = 2.1849
    EXPECT_EQ(results.MNPTReferenceUsed, Value(12.8452));
    EXPECT_EQ(results.MNPTWorkingUsed, Value("12.4900"));
    EXPECT_EQ(settings.LowerINR, Value("1.5"));
    EXPECT_EQ(results.MNPTReference, Value(12.845232578665129));
    EXPECT_EQ(results.DisplacementT, Value(0.41057155144343900));
    EXPECT_EQ(data.SEISIReference, Value("0.02"));
    EXPECT_EQ(lines(), first);
}

TEST_F(ResultsReport, ValuesThatCannotBeComputedWriteNothing) {
    results.SlopeAbnormal = 0.0;    // the CV of slope divides by zero
    results.Displacement = Value(); // never computed
    results.ISIWorking = Value("0");
    EXPECT_EQ(linesFrom("    SD about line = 0.0033", 1).front(),
              "    SD about line = 0.0033   CV of slope = ");
    EXPECT_EQ(linesFrom("    and mean", 1).front(), "    and mean of normal log PT =  (exp(d) = )");
    EXPECT_EQ(linesFrom("CV of ISI", 6).back(), "CV of ISI = ");
    EXPECT_TRUE(results.CVISIWorking.isEmpty());
}

TEST_F(ResultsReport, PrintedVariantDiffersOnlyWhereThePrinterNeedsIt) {
    exclude(results.INRExcluded, results.INRExcludedCount, {5});
    exclude(results.SDExcluded, results.SDExcludedCount, {1});
    const ReportStatements printed =
        BuildReportStatements(data, settings, results, editor, header, ReportDestination::Printer);
    const std::string text = RenderReportText(printed);
    for (const std::string& line : {"Date: 2024-03-05" + spaces(26) + "Time: 14:07:09\r\n",
                                    spaces(14) + "    Plasma       PT                INR\r\n",
                                    spaces(14) + "    Plasma       PT\r\n",
                                    "\n" + spaces(47) + "degrees of freedom =  2\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    std::vector<std::size_t> breaks;
    for (std::size_t k = 0; k < printed.size(); ++k)
        if (IsPageBreak(printed[k]))
            breaks.push_back(k);
    ASSERT_EQ(breaks.size(), 1u);
    EXPECT_EQ(printed[breaks[0] - 1].front().text, U);
    EXPECT_EQ(printed[breaks[0] + 1].front().text,
              "PROTHROMBIN TIMES AND INTERNATIONAL NORMALIZED RATIOS");
}

struct LayoutCase {
    const char* name;
    ReportStatements statements;
    std::string text;
};

class PrintListLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PrintListLayout, Renders) {
    EXPECT_EQ(RenderReportText(GetParam().statements), GetParam().text);
}

using I = ReportItem;

INSTANTIATE_TEST_SUITE_P(
    Rules, PrintListLayout,
    ::testing::Values(
        LayoutCase{"BlankStatement", {{}}, "\r\n"},
        LayoutCase{"ZoneFromColumnOne", {{I::Zone(), I::Text("x")}}, spaces(14) + "x\r\n"},
        LayoutCase{"ZoneFromAZone", {{I::Zone(), I::Zone(), I::Text("x")}}, spaces(28) + "x\r\n"},
        LayoutCase{"ZoneFromColumn14", {{I::Text(spaces(13)), I::Zone()}}, spaces(14) + "\r\n"},
        LayoutCase{"ColumnAhead", {{I::Text("ab"), I::Column(5), I::Text("x")}}, "ab  x\r\n"},
        LayoutCase{"ColumnReached", {{I::Text("abcd"), I::Column(5), I::Text("x")}}, "abcdx\r\n"},
        LayoutCase{"ColumnPassed",
                   {{I::Text("abcdef"), I::Column(5), I::Text("x")}},
                   "abcdef\r\n    x\r\n"},
        LayoutCase{"Numbers", {{I::Number(25), I::Number(-0.5), I::Text("|")}}, " 25 -.5 |\r\n"},
        LayoutCase{"Utf8TakesOneColumn",
                   {{I::Text("\xC3\xA9"), I::Zone(), I::Text("x")}},
                   "\xC3\xA9" + spaces(13) + "x\r\n"},
        LayoutCase{"PageBreakWritesNothing",
                   {{I::Text("a")}, {I::PageBreak()}, {I::Text("b")}},
                   "a\r\nb\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace morvane
