#include "results_report.h"

#include "number_format.h"
#include "report_statements.h"

#include <cmath>
#include <optional>

namespace morvane {

namespace {

constexpr const char* kUnderline = "__________________________________________________________";
constexpr const char* kFortyEightSpaces = "                                                ";
constexpr int kZoneWidth = 14;

// Report arithmetic: a missing operand, a division by zero or a result beyond the real numbers
// gives nothing, and the value is then written as nothing.
using Number = std::optional<double>;

Number finiteOrNothing(double x) {
    return std::isfinite(x) ? Number(x) : std::nullopt;
}

Number quotient(Number numerator, Number denominator) {
    if (!numerator || !denominator || *denominator == 0.0)
        return std::nullopt;
    return finiteOrNothing(*numerator / *denominator);
}

Number product(Number a, Number b) {
    if (!a || !b)
        return std::nullopt;
    return finiteOrNothing(*a * *b);
}

Number power(Number base, Number exponent) {
    if (!base || !exponent)
        return std::nullopt;
    if (*base < 0.0 && *exponent != std::floor(*exponent))
        return std::nullopt;
    if (*base == 0.0 && *exponent < 0.0)
        return std::nullopt;
    return finiteOrNothing(std::pow(*base, *exponent));
}

Number exponential(Number x) {
    return x ? finiteOrNothing(std::exp(*x)) : std::nullopt;
}

// 100 × part / whole, multiplied first as a coefficient of variation is usually written.
Number percentOf(const Value& part, const Value& whole) {
    return quotient(product(100.0, part.number()), whole.number());
}

// ---- Rounding in place ----

void roundToText(Value& field, std::string_view pattern) {
    if (auto text = FormatPattern(field, pattern))
        field = Value(std::move(*text));
}

void roundToNumber(Value& field, std::string_view pattern) {
    if (auto text = FormatPattern(field, pattern))
        field = Value(*ParseNumber(*text));
}

Value roundedText(Number value, std::string_view pattern) {
    if (!value)
        return {};
    auto text = FormatPattern(*value, pattern);
    return text ? Value(std::move(*text)) : Value();
}

Value roundedNumber(Number value, std::string_view pattern) {
    Value rounded = roundedText(value, pattern);
    if (!rounded.isEmpty())
        rounded = Value(*rounded.number());
    return rounded;
}

// ---- Building statements ----

// Collects the items of one statement.
class Line {
public:
    Line() { mItems.reserve(12); }

    Line& text(std::string text) {
        mItems.push_back(ReportItem::Text(std::move(text)));
        return *this;
    }
    // A count or plasma number, written by the print-list number rule.
    Line& count(int n) {
        mItems.push_back(ReportItem::Number(n));
        return *this;
    }
    Line& plain(Number value) {
        if (value && std::isfinite(*value))
            mItems.push_back(ReportItem::Number(*value));
        return *this;
    }
    Line& plain(double value) { return plain(Number(value)); }
    Line& plain(const Value& value) { return plain(value.number()); }
    Line& pattern(Number value, std::string_view pattern) {
        if (value)
            if (auto formatted = FormatPattern(*value, pattern))
                text(std::move(*formatted));
        return *this;
    }
    Line& pattern(double value, std::string_view pattern) {
        return this->pattern(Number(value), pattern);
    }
    Line& pattern(const Value& value, std::string_view pattern) {
        return this->pattern(value.number(), pattern);
    }
    // A value as the rounding left it: a text unchanged, a number by the number rule.
    Line& held(const Value& value) {
        if (value.isText())
            text(value.text());
        else
            plain(value.number());
        return *this;
    }
    Line& zone() {
        mItems.push_back(ReportItem::Zone());
        return *this;
    }
    Line& col(int column) {
        mItems.push_back(ReportItem::Column(column));
        return *this;
    }

    ReportStatement take() { return std::move(mItems); }

private:
    ReportStatement mItems;
};

class ReportBuilder {
public:
    ReportBuilder(const CalibrationDataSet& data, const CalibrationSettings& settings,
                  const CalibrationResults& results, const EditorFields& editor,
                  const ReportHeader& header, const ReportOnlyValues& reportOnly,
                  ReportDestination destination)
        : mData(data), mSettings(settings), mResults(results), mEditor(editor), mHeader(header),
          mReportOnly(reportOnly), mPrinted(destination == ReportDestination::Printer) {}

    ReportStatements build() {
        mStatements.reserve(80 + static_cast<std::size_t>(mData.SampleCount) * 2);
        writeHeader();
        if (mResults.INRExcludedCount > 0)
            writeINRExclusions();
        underline();
        if (mResults.SDExcludedCount > 0)
            writeSDExclusions();
        if (mResults.CalibrationFailed == 1) {
            add(Line().text("After exclusions, there is insufficient data to perform the "
                            "calibration"));
            blank();
            return std::move(mStatements);
        }
        writeAllSamplesLine();
        writeAbnormalOnlyLine();
        writeTomensonCorrection();
        writeISIStatistics();
        if (mPrinted)
            mStatements.push_back({ReportItem::PageBreak()});
        writePTAndINRTable();
        return std::move(mStatements);
    }

private:
    void add(Line& line) { mStatements.push_back(line.take()); }
    void add(Line&& line) { mStatements.push_back(line.take()); }
    void blank() { mStatements.emplace_back(); }
    void underline() { add(Line().text(kUnderline)); }

    void writeHeader() {
        add(Line().zone().text("MORVANE"));
        add(Line().zone().text(mHeader.versionCaption));
        underline();
        add(Line().text("File Name: ").text(mHeader.currentFileName));
        Line dateLine;
        dateLine.text("Date: ").text(mHeader.date);
        for (int k = 0; k < (mPrinted ? 2 : 4); ++k)
            dateLine.zone();
        add(dateLine.text("Time: ").text(mHeader.time));
        blank();
        add(Line().text("Reference thromboplastin: ").text(mEditor.txtIRP));
        add(Line().text("Working thromboplastin: ").text(mEditor.txtWRP));
        blank();
        add(Line().count(mResults.NormalCount).text(" normal observations and"));
        add(Line()
                .count(mResults.AbnormalCount)
                .text(" abnormal observations in original data-set"));
    }

    void writeINRExclusions() {
        underline();
        add(Line().zone().text(" Observations outside INR limits"));
        add(Line()
                .zone()
                .text("(MNPT derived from all ")
                .count(mResults.NormalCount)
                .text("normal observations"));
        add(Line()
                .zone()
                .text("(lower limit=")
                .pattern(mSettings.LowerINR, "#0.00")
                .text("; upper limit=")
                .pattern(mSettings.UpperINR, "#0.00")
                .text(")"));
        blank();
        add(Line().zone().text(mPrinted ? "    Plasma       PT                INR"
                                        : "  Plasma     PT           INR"));
        const Number mnpt = mResults.MNPTReference.number();
        const Number isi = mData.ISIReference.number();
        for (int i = 1; i <= mData.SampleCount; ++i) {
            if (mResults.INRExcluded[i] != 1)
                continue;
            const Number inr = power(quotient(mData.ReferencePT[i], mnpt), isi);
            add(Line()
                    .col(20)
                    .count(i)
                    .zone()
                    .plain(mData.ReferencePT[i])
                    .zone()
                    .pattern(inr, "##0.00"));
        }
    }

    void writeSDExclusions() {
        add(Line().zone().text(" Observations outside SD limits"));
        add(Line().zone().text("(SD limit=").pattern(mSettings.SDLimit, "#0.00").text(")"));
        blank();
        add(Line().zone().text(mPrinted ? "    Plasma       PT" : "  Plasma     PT"));
        for (int i = 1; i <= mData.SampleCount; ++i)
            if (mResults.SDExcluded[i] == 1)
                add(Line().col(20).count(i).zone().plain(mData.ReferencePT[i]));
        underline();
    }

    void writeLineCoefficients(const Value& intercept, const Value& slope, const Value& seIntercept,
                               const Value& seSlope) {
        add(Line()
                .text("Coefficients  :          y  =  ")
                .held(intercept)
                .text("  +  ")
                .held(slope)
                .text(" x"));
        add(Line()
                .text("Standard error:               (")
                .held(seIntercept)
                .text(") ")
                .text("   (")
                .held(seSlope)
                .text(")"));
        blank();
    }

    static bool isNonZero(const Value& value) {
        const Number n = value.number();
        return n && *n != 0.0;
    }

    void writeAllSamplesLine() {
        const int used = mData.SampleCount - mResults.INRExcludedCount - mResults.SDExcludedCount;
        add(Line().text("ABNORMAL+NORMAL CALIBRATION (n = ").count(used).text(")"));
        blank();
        blank();
        const CalibrationResults& r = mResults;
        writeLineCoefficients(r.InterceptAll, r.SlopeAll, r.SEInterceptAll, r.SESlopeAll);
        add(Line()
                .text("    SD about line = ")
                .held(r.SDAboutLineAll)
                .text("   CV of slope = ")
                .held(mReportOnly.CVSlopeAll));
        blank();
        if (isNonZero(r.SlopeCILowAll))
            add(Line()
                    .text("    ")
                    .text(mEditor.ComboCI)
                    .text(" Confidence Interval for slope: (")
                    .held(r.SlopeCILowAll)
                    .text(", ")
                    .held(r.SlopeCIHighAll)
                    .text(")"));
        underline();
    }

    void writeAbnormalOnlyLine() {
        const CalibrationResults& r = mResults;
        add(Line().text("ABNORMAL ONLY CALIBRATION (n = ").count(r.AbnormalsUsed).text(")"));
        blank();
        writeLineCoefficients(r.InterceptAbnormal, r.SlopeAbnormal, r.SEInterceptAbnormal,
                              r.SESlopeAbnormal);
        add(Line()
                .text("    SD about line = ")
                .held(r.SDAboutLineAbnormal)
                .text("   CV of slope = ")
                .held(mReportOnly.CVSlopeAbnormal));
        blank();
        if (isNonZero(r.SlopeCILowAbnormal))
            add(Line()
                    .text("    ")
                    .text(mEditor.ComboCI)
                    .text(" Confidence Interval for slope: (")
                    .held(r.SlopeCILowAbnormal)
                    .text(", ")
                    .plain(r.SlopeCIHighAbnormal)
                    .text(")"));
        blank();
        underline();
        blank();
    }

    void writeTomensonCorrection() {
        const CalibrationResults& r = mResults;
        add(Line().text("TOMENSON'S CORRECTION"));
        blank();
        add(Line().text("    Vertical displacement, d, between abnormal only line"));
        add(Line()
                .text("    and mean of normal log PT = ")
                .held(r.Displacement)
                .text(" (exp(d) = ")
                .pattern(exponential(r.Displacement.number()), "#0.0000")
                .text(")"));
        add(Line()
                .text("    ")
                .text(mEditor.ComboCI)
                .text(" Confidence Interval for displacement: (")
                .held(r.DisplacementCILow)
                .text(", ")
                .plain(r.DisplacementCIHigh)
                .text(")"));
        add(Line()
                .text("    Test for zero displacement: test statistic = ")
                .pattern(r.DisplacementT, "#0.00"));
        const std::string dfIndent = mPrinted ? std::string(47, ' ') : kFortyEightSpaces;
        add(Line().text(dfIndent + "degrees of freedom =  ").pattern(r.DisplacementDF, "#0"));
        writePValue();
        blank();
        underline();
    }

    // Exactly one of the three forms fits a bracket from the critical t table.
    void writePValue() {
        const Number low = mResults.DisplacementPLow.number();
        const Number high = mResults.DisplacementPHigh.number();
        const std::string indent = kFortyEightSpaces;
        if (low && *low == 0.0)
            add(Line().text(indent + "p-value < ").held(mResults.DisplacementPHigh));
        if (high && *high == 1.0)
            add(Line().text(indent + "p-value > ").held(mResults.DisplacementPLow));
        if (low && high && *low != 0.0 && *high != 1.0)
            add(Line()
                    .text(indent)
                    .held(mResults.DisplacementPLow)
                    .text(" < p-value < ")
                    .held(mResults.DisplacementPHigh));
    }

    void writeISIStatistics() {
        const CalibrationResults& r = mResults;
        add(Line().text("ISI STATISTICS"));
        blank();
        add(Line()
                .text("ISI (")
                .text(mEditor.txtIRP)
                .text(") = ")
                .pattern(mData.ISIReference, "#0.0000"));
        add(Line()
                .text("MNPT = ")
                .plain(r.MNPTReferenceUsed)
                .text(" (")
                .count(r.NormalsUsed)
                .text("normals)"));
        add(Line().text("Standard error = ").held(mData.SEISIReference));
        add(Line().text("CV of ISI = ").plain(mReportOnly.CVISIReference));
        blank();
        add(Line()
                .text("ISI (")
                .text(mEditor.txtWRP)
                .text(") = ")
                .pattern(r.ISIWorking, "#0.0000"));
        add(Line()
                .text("MNPT = ")
                .held(r.MNPTWorkingUsed)
                .text(" (")
                .count(r.NormalsUsed)
                .text("normals)"));
        add(Line().text("Standard error = ").held(r.SEISIWorking));
        add(Line().text("CV of ISI = ").plain(r.CVISIWorking));
        underline();
    }

    void writeTableHeadings() {
        const bool tomenson = mEditor.Chkbox1;
        Line first, second, third;
        first.col(20).text("Reference").col(40).text("Working");
        second.col(20).text("Thromboplastin").col(40).text("Thromboplastin");
        third.col(7).text("Plasma").col(20).text("PT").col(30).text("INR");
        third.col(40).text("PT").col(50).text("INR");
        if (tomenson) {
            first.col(60).text("Tomenson's");
            second.col(60).text("corrected");
            third.col(60).text("INR");
        }
        add(first);
        add(second);
        add(third);
    }

    void writePTAndINRTable() {
        const CalibrationResults& r = mResults;
        add(Line().text("PROTHROMBIN TIMES AND INTERNATIONAL NORMALIZED RATIOS"));
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
            Line row;
            row.col(10).count(i);
            row.col(20).pattern(referencePT, "##0.00");
            row.col(30).pattern(power(quotient(referencePT, mnptReference), isiReference),
                                "##0.00");
            row.col(40).pattern(workingPT, "#0.00");
            row.col(50).pattern(power(workingRatio, isiWorking), "#0.00");
            if (mEditor.Chkbox1) {
                const Number corrected =
                    power(product(power(workingRatio, slopeAbnormal), expD), isiReference);
                row.col(60).pattern(corrected, "#0.00");
            }
            add(row);
        }
    }

    const CalibrationDataSet& mData;
    const CalibrationSettings& mSettings;
    const CalibrationResults& mResults;
    const EditorFields& mEditor;
    const ReportHeader& mHeader;
    const ReportOnlyValues& mReportOnly;
    const bool mPrinted;
    ReportStatements mStatements;
};

// ---- Laying out ----

// Appends text to a line and keeps the column count; continuation bytes of UTF-8 characters
// take no column.
class LineLayout {
public:
    explicit LineLayout(std::string& out) : mOut(out) {}

    void append(std::string_view text) {
        mOut.append(text);
        for (char c : text)
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                ++mColumn;
    }
    void appendNumber(double value) {
        const std::size_t before = mOut.size();
        AppendPlainNumber(mOut, value);
        mColumn += static_cast<int>(mOut.size() - before);
    }
    void nextZone() { padTo(((mColumn - 1) / kZoneWidth + 1) * kZoneWidth + 1); }
    void tabTo(int column) {
        if (mColumn > column)
            endLine();
        padTo(column);
    }
    void endLine() {
        mOut += "\r\n";
        mColumn = 1;
    }

private:
    void padTo(int column) {
        if (column > mColumn) {
            mOut.append(static_cast<std::size_t>(column - mColumn), ' ');
            mColumn = column;
        }
    }

    std::string& mOut;
    int mColumn = 1;
};

void renderStatement(const ReportStatement& statement, LineLayout& line) {
    for (const ReportItem& item : statement) {
        switch (item.kind) {
        case ReportItem::Kind::Text:
            line.append(item.text);
            break;
        case ReportItem::Kind::Number:
            line.appendNumber(item.number);
            break;
        case ReportItem::Kind::Zone:
            line.nextZone();
            break;
        case ReportItem::Kind::Column:
            line.tabTo(item.column);
            break;
        case ReportItem::Kind::PageBreak:
            break;
        }
    }
    line.endLine();
}

} // namespace

bool IsPageBreak(const ReportStatement& statement) {
    return !statement.empty() && statement.front().kind == ReportItem::Kind::PageBreak;
}

ReportOnlyValues RoundResultsForReport(const CalibrationDataSet& data,
                                       CalibrationSettings& settings, CalibrationResults& results) {
    constexpr std::string_view four = "##0.0000";
    constexpr std::string_view three = "##0.000";
    constexpr std::string_view two = "##0.00";
    ReportOnlyValues only;
    CalibrationResults& r = results;
    for (Value* field :
         {&r.InterceptAbnormal, &r.SlopeAbnormal, &r.SEInterceptAbnormal, &r.SESlopeAbnormal})
        roundToText(*field, four);
    only.CVSlopeAbnormal = roundedText(percentOf(r.SESlopeAbnormal, r.SlopeAbnormal), two);
    roundToText(r.SDAboutLineAbnormal, four);
    roundToText(r.SlopeCILowAbnormal, four);
    roundToNumber(r.SlopeCIHighAbnormal, four);
    for (Value* field : {&r.InterceptAll, &r.SlopeAll, &r.SEInterceptAll, &r.SESlopeAll})
        roundToText(*field, four);
    only.CVSlopeAll = roundedText(percentOf(r.SESlopeAll, r.SlopeAll), two);
    for (Value* field : {&r.SDAboutLineAll, &r.SlopeCILowAll, &r.SlopeCIHighAll, &r.Displacement})
        roundToText(*field, four);
    roundToText(r.DisplacementCILow, three);
    roundToNumber(r.DisplacementCIHigh, three);
    roundToText(r.DisplacementPLow, three);
    roundToText(r.DisplacementPHigh, three);
    only.CVISIReference = roundedNumber(percentOf(data.SEISIReference, data.ISIReference), two);
    roundToText(r.ISIWorking, four);
    roundToText(r.SEISIWorking, four);
    r.CVISIWorking = roundedNumber(percentOf(r.SEISIWorking, r.ISIWorking), two);
    roundToNumber(r.MNPTReferenceUsed, four);
    roundToText(r.MNPTWorkingUsed, four);
    roundToText(settings.LowerINR, "##0.0");
    roundToText(settings.UpperINR, "##0.0");
    return only;
}

ReportStatements BuildReportStatements(const CalibrationDataSet& data,
                                       CalibrationSettings& settings, CalibrationResults& results,
                                       const EditorFields& editor, const ReportHeader& header,
                                       ReportDestination destination) {
    const ReportOnlyValues reportOnly = RoundResultsForReport(data, settings, results);
    return ReportBuilder(data, settings, results, editor, header, reportOnly, destination).build();
}

std::string RenderReportText(const ReportStatements& statements) {
    std::string text;
    text.reserve(statements.size() * 48);
    LineLayout line(text);
    for (const ReportStatement& statement : statements)
        if (!IsPageBreak(statement))
            renderStatement(statement, line);
    return text;
}

std::string BuildResultsReport(const CalibrationDataSet& data, CalibrationSettings& settings,
                               CalibrationResults& results, const EditorFields& editor,
                               const ReportHeader& header) {
    return RenderReportText(
        BuildReportStatements(data, settings, results, editor, header, ReportDestination::Text));
}

} // namespace morvane
