#include "results_report.h"

#include "report_arithmetic.h"
#include "report_statement_writer.h"
#include "report_statements.h"
#include "report_text_layout.h"

#include <string_view>

namespace morvane {

using namespace report;

namespace {

constexpr std::string_view kUnderline =
    "__________________________________________________________";

class ReportBuilder {
public:
    ReportBuilder(const CalibrationDataSet& data, const CalibrationSettings& settings,
                  const CalibrationResults& results, const EditorFields& editor,
                  const ReportHeader& header, const ReportOnlyValues& reportOnly,
                  ReportDestination destination, StatementCollector& out)
        : mData(data), mSettings(settings), mResults(results), mEditor(editor), mHeader(header),
          mReportOnly(reportOnly), mPrinted(destination == ReportDestination::Printer), mOut(out) {}

    void build() {
        writeHeader();
        if (mResults.INRExcludedCount > 0)
            writeINRExclusions();
        underline();
        if (mResults.SDExcludedCount > 0)
            writeSDExclusions();
        if (mResults.CalibrationFailed) {
            line().text("After exclusions, there is insufficient data to perform the "
                        "calibration");
            blank();
            return;
        }
        writeAllSamplesLine();
        writeAbnormalOnlyLine();
        writeTomensonCorrection();
        writeISIStatistics();
        if (mPrinted)
            mOut.pageBreak();
        writePTAndINRTable();
    }

private:
    Statement line() { return Statement(mOut); }
    void blank() { mOut.endStatement(); }
    void underline() { line().text(kUnderline); }

    void writeHeader() {
        line().zone().text("MORVANE");
        line().zone().text(mHeader.versionCaption);
        underline();
        line().text("File Name: ").text(mHeader.currentFileName);
        {
            auto dateLine = line();
            dateLine.text("Date: ").text(mHeader.date);
            for (int k = 0; k < (mPrinted ? 2 : 4); ++k)
                dateLine.zone();
            dateLine.text("Time: ").text(mHeader.time);
        }
        blank();
        line().text("Reference thromboplastin: ").text(mEditor.txtIRP);
        line().text("Working thromboplastin: ").text(mEditor.txtWRP);
        blank();
        line().count(mResults.NormalCount).text(" normal observations and");
        line().count(mResults.AbnormalCount).text(" abnormal observations in original data-set");
    }

    void writeINRExclusions() {
        underline();
        line().zone().text(" Observations outside INR limits");
        line()
            .zone()
            .text("(MNPT derived from all ")
            .count(mResults.NormalCount)
            .text("normal observations");
        line()
            .zone()
            .text("(lower limit=")
            .pattern(mSettings.LowerINR, "#0.00")
            .text("; upper limit=")
            .pattern(mSettings.UpperINR, "#0.00")
            .text(")");
        blank();
        line().zone().text(mPrinted ? "    Plasma       PT                INR"
                                    : "  Plasma     PT           INR");
        const Number mnpt = mResults.MNPTReference.number();
        const Number isi = mData.ISIReference.number();
        for (int i = 1; i <= mData.SampleCount; ++i) {
            if (mResults.INRExcluded[i] != 1)
                continue;
            const Number inr = power(quotient(mData.ReferencePT[i], mnpt), isi);
            line()
                .col(20)
                .count(i)
                .zone()
                .plain(mData.ReferencePT[i])
                .zone()
                .pattern(inr, "##0.00");
        }
    }

    void writeSDExclusions() {
        line().zone().text(" Observations outside SD limits");
        line().zone().text("(SD limit=").pattern(mSettings.SDLimit, "#0.00").text(")");
        blank();
        line().zone().text(mPrinted ? "    Plasma       PT" : "  Plasma     PT");
        for (int i = 1; i <= mData.SampleCount; ++i)
            if (mResults.SDExcluded[i] == 1)
                line().col(20).count(i).zone().plain(mData.ReferencePT[i]);
        underline();
    }

    void writeLineCoefficients(const Value& intercept, const Value& slope, const Value& seIntercept,
                               const Value& seSlope) {
        line()
            .text("Coefficients  :          y  =  ")
            .held(intercept)
            .text("  +  ")
            .held(slope)
            .text(" x");
        line()
            .text("Standard error:               (")
            .held(seIntercept)
            .text(") ")
            .text("   (")
            .held(seSlope)
            .text(")");
        blank();
    }

    static bool isNonZero(const Value& value) {
        const Number n = value.number();
        return n && *n != 0.0;
    }

    void writeAllSamplesLine() {
        const int used = mData.SampleCount - mResults.INRExcludedCount - mResults.SDExcludedCount;
        line().text("ABNORMAL+NORMAL CALIBRATION (n = ").count(used).text(")");
        blank();
        blank();
        const CalibrationResults& r = mResults;
        writeLineCoefficients(r.InterceptAll, r.SlopeAll, r.SEInterceptAll, r.SESlopeAll);
        line()
            .text("    SD about line = ")
            .held(r.SDAboutLineAll)
            .text("   CV of slope = ")
            .held(mReportOnly.CVSlopeAll);
        blank();
        if (isNonZero(r.SlopeCILowAll))
            line()
                .text("    ")
                .text(mEditor.ComboCI)
                .text(" Confidence Interval for slope: (")
                .held(r.SlopeCILowAll)
                .text(", ")
                .held(r.SlopeCIHighAll)
                .text(")");
        underline();
    }

    void writeAbnormalOnlyLine() {
        const CalibrationResults& r = mResults;
        line().text("ABNORMAL ONLY CALIBRATION (n = ").count(r.AbnormalsUsed).text(")");
        blank();
        writeLineCoefficients(r.InterceptAbnormal, r.SlopeAbnormal, r.SEInterceptAbnormal,
                              r.SESlopeAbnormal);
        line()
            .text("    SD about line = ")
            .held(r.SDAboutLineAbnormal)
            .text("   CV of slope = ")
            .held(mReportOnly.CVSlopeAbnormal);
        blank();
        if (isNonZero(r.SlopeCILowAbnormal))
            line()
                .text("    ")
                .text(mEditor.ComboCI)
                .text(" Confidence Interval for slope: (")
                .held(r.SlopeCILowAbnormal)
                .text(", ")
                .plain(r.SlopeCIHighAbnormal)
                .text(")");
        blank();
        underline();
        blank();
    }

    void writeTomensonCorrection() {
        const CalibrationResults& r = mResults;
        line().text("TOMENSON'S CORRECTION");
        blank();
        line().text("    Vertical displacement, d, between abnormal only line");
        line()
            .text("    and mean of normal log PT = ")
            .held(r.Displacement)
            .text(" (exp(d) = ")
            .pattern(exponential(r.Displacement.number()), "#0.0000")
            .text(")");
        line()
            .text("    ")
            .text(mEditor.ComboCI)
            .text(" Confidence Interval for displacement: (")
            .held(r.DisplacementCILow)
            .text(", ")
            .plain(r.DisplacementCIHigh)
            .text(")");
        line()
            .text("    Test for zero displacement: test statistic = ")
            .pattern(r.DisplacementT, "#0.00");
        // The printed page has one space less before the degrees of freedom.
        constexpr std::string_view degreesOfFreedom =
            "                                                degrees of freedom =  ";
        line()
            .text(mPrinted ? degreesOfFreedom.substr(1) : degreesOfFreedom)
            .pattern(r.DisplacementDF, "#0");
        writePValue();
        blank();
        underline();
    }

    // Exactly one of the three forms fits a bracket from the critical t table.
    void writePValue() {
        const Number low = mResults.DisplacementPLow.number();
        const Number high = mResults.DisplacementPHigh.number();
        constexpr std::string_view indent = "                                                ";
        if (low && *low == 0.0)
            line()
                .text("                                                p-value < ")
                .held(mResults.DisplacementPHigh);
        if (high && *high == 1.0)
            line()
                .text("                                                p-value > ")
                .held(mResults.DisplacementPLow);
        if (low && high && *low != 0.0 && *high != 1.0)
            line()
                .text(indent)
                .held(mResults.DisplacementPLow)
                .text(" < p-value < ")
                .held(mResults.DisplacementPHigh);
    }

    void writeISIStatistics() {
        const CalibrationResults& r = mResults;
        line().text("ISI STATISTICS");
        blank();
        line()
            .text("ISI (")
            .text(mEditor.txtIRP)
            .text(") = ")
            .pattern(mData.ISIReference, "#0.0000");
        line()
            .text("MNPT = ")
            .plain(r.MNPTReferenceUsed)
            .text(" (")
            .count(r.NormalsUsed)
            .text("normals)");
        line().text("Standard error = ").held(mData.SEISIReference);
        line().text("CV of ISI = ").plain(mReportOnly.CVISIReference);
        blank();
        line().text("ISI (").text(mEditor.txtWRP).text(") = ").pattern(r.ISIWorking, "#0.0000");
        line()
            .text("MNPT = ")
            .held(r.MNPTWorkingUsed)
            .text(" (")
            .count(r.NormalsUsed)
            .text("normals)");
        line().text("Standard error = ").held(r.SEISIWorking);
        line().text("CV of ISI = ").plain(r.CVISIWorking);
        underline();
    }

    void writeTableHeadings() {
        const bool tomenson = mEditor.Chkbox1;
        {
            auto first = line();
            first.col(20).text("Reference").col(40).text("Working");
            if (tomenson)
                first.col(60).text("Tomenson's");
        }
        {
            auto second = line();
            second.col(20).text("Thromboplastin").col(40).text("Thromboplastin");
            if (tomenson)
                second.col(60).text("corrected");
        }
        auto third = line();
        third.col(7).text("Plasma").col(20).text("PT").col(30).text("INR");
        third.col(40).text("PT").col(50).text("INR");
        if (tomenson)
            third.col(60).text("INR");
    }

    void writePTAndINRTable() {
        const CalibrationResults& r = mResults;
        line().text("PROTHROMBIN TIMES AND INTERNATIONAL NORMALIZED RATIOS");
        blank();
        writeTableHeadings();
        const Number mnptReference = r.MNPTReferenceUsed.number();
        const Number mnptWorking = r.MNPTWorkingUsed.number();
        const Number isiReference = mData.ISIReference.number();
        const Number isiWorking = r.ISIWorking.number();
        const Number slopeAbnormal = r.SlopeAbnormal.number();
        const Number expD = exponential(r.Displacement.number());
        for (int i = 1; i <= mData.SampleCount; ++i) {
            const double referencePT = mData.ReferencePT[i];
            const double workingPT = mData.WorkingPT[i];
            const Number workingRatio = quotient(workingPT, mnptWorking);
            auto row = line();
            row.col(10).count(i);
            row.col(20).pattern(referencePT, "##0.00");
            row.col(30).pattern(power(quotient(referencePT, mnptReference), isiReference),
                                "##0.00");
            row.col(40).pattern(workingPT, "#0.00");
            row.col(50).pattern(power(workingRatio, isiWorking), "#0.00");
            if (mEditor.Chkbox1) {
                const Number corrected =
                    tomensonINR(workingRatio, slopeAbnormal, expD, isiReference);
                row.col(60).pattern(corrected, "#0.00");
            }
        }
    }

    const CalibrationDataSet& mData;
    const CalibrationSettings& mSettings;
    const CalibrationResults& mResults;
    const EditorFields& mEditor;
    const ReportHeader& mHeader;
    const ReportOnlyValues& mReportOnly;
    const bool mPrinted;
    StatementCollector& mOut;
};

} // namespace

bool IsPageBreak(const ReportStatement& statement) {
    return !statement.empty() && statement.front().kind == ReportItem::Kind::PageBreak;
}

ReportStatements BuildReportStatements(const CalibrationDataSet& data, const ShownResults& shown,
                                       const EditorFields& editor, const ReportHeader& header,
                                       ReportDestination destination) {
    ReportStatements statements;
    statements.reserve(80 + static_cast<std::size_t>(data.SampleCount) * 2);
    StatementCollector collector(statements);
    ReportBuilder(data, shown.settings, shown.results, editor, header, shown.reportOnly,
                  destination, collector)
        .build();
    return statements;
}

std::string BuildResultsReport(const CalibrationDataSet& data, const ShownResults& shown,
                               const EditorFields& editor, const ReportHeader& header) {
    return RenderReportText(
        BuildReportStatements(data, shown, editor, header, ReportDestination::Text));
}

} // namespace morvane
