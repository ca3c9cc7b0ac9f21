#include "results_report.h"

#include "number_format.h"
#include "report_statements.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace morvane {

namespace {

constexpr std::string_view kUnderline =
    "__________________________________________________________";
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

// A display pattern such as "##0.00", read when the program is compiled: only its number of
// decimals matters.
struct Pattern {
    consteval Pattern(const char* pattern) {
        const char* p = pattern;
        while (*p != '\0' && *p != '.')
            ++p;
        for (; *p != '\0'; ++p)
            if (*p == '0' || *p == '#')
                ++decimals;
    }
    int decimals = 0;
};

// ---- Rounding in place ----

void roundToText(Value& field, Pattern pattern) {
    const Number number = field.number();
    std::string text;
    if (number && AppendPattern(text, *number, pattern.decimals))
        field = Value(std::move(text));
}

void roundToNumber(Value& field, Pattern pattern) {
    const Number number = field.number();
    std::string text;
    if (number && AppendPattern(text, *number, pattern.decimals))
        field = Value(*ParseNumber(text));
}

Value roundedText(Number value, Pattern pattern) {
    std::string text;
    if (value && AppendPattern(text, *value, pattern.decimals))
        return Value(std::move(text));
    return {};
}

Value roundedNumber(Number value, Pattern pattern) {
    Value rounded = roundedText(value, pattern);
    if (!rounded.isEmpty())
        rounded = Value(*rounded.number());
    return rounded;
}

// ---- Where the statements go ----

// The columns a UTF-8 text takes: one for each byte that is not a continuation byte (10xxxxxx),
// those being counted eight bytes at a time.
int columnsOf(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    std::size_t continuation = 0;
    std::size_t k = 0;
    for (; k + 8 <= text.size(); k += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text.data() + k, 8);
        // Bit 7 set and bit 6 (moved up to bit 7) clear, one mark per byte, summed by the product.
        const std::uint64_t marks = bytes & ~(bytes << 1) & kHighBits;
        continuation += ((marks >> 7) * kOnes) >> 56;
    }
    for (; k < text.size(); ++k)
        continuation += (static_cast<unsigned char>(text[k]) & 0xC0) == 0x80 ? 1 : 0;
    return static_cast<int>(text.size() - continuation);
}

// Collects the statements as items, for the printed report and for anyone who lays them out.
class StatementCollector {
public:
    explicit StatementCollector(ReportStatements& statements) : mStatements(statements) {}

    void text(std::string_view text) { mItems.push_back(ReportItem::Text(std::string(text))); }
    void number(double value) { mItems.push_back(ReportItem::Number(value)); }
    void count(int n) { number(n); }
    void pattern(double value, int decimals) {
        std::string text;
        if (AppendPattern(text, value, decimals))
            mItems.push_back(ReportItem::Text(std::move(text)));
    }
    void zone() { mItems.push_back(ReportItem::Zone()); }
    void column(int column) { mItems.push_back(ReportItem::Column(column)); }
    void pageBreak() { mStatements.push_back({ReportItem::PageBreak()}); }
    void endStatement() {
        mStatements.push_back(std::move(mItems));
        mItems = {};
    }

private:
    ReportStatements& mStatements;
    ReportStatement mItems;
};

// Lays the statements out as text straight away, by the print-list rules, and keeps the column
// count; continuation bytes of UTF-8 characters take no column. The text is written into room
// made ahead a kilobyte at a time, within the size reserved for it, and cut to its length when
// taken.
class TextLayout {
public:
    explicit TextLayout(std::size_t expectedSize) { mOut.reserve(expectedSize); }

    void text(std::string_view text) {
        std::copy(text.begin(), text.end(), room(text.size()));
        mEnd += text.size();
        mColumn += columnsOf(text);
    }
    void number(double value) { ascii(FormatPlainNumber(value)); }
    // A whole number by the same rule as number(), without the general form's detour.
    void count(int n) {
        char* const start = room(16);
        *start = n < 0 ? '-' : ' ';
        const unsigned magnitude = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
        char* end = std::to_chars(start + 1, start + 15, magnitude).ptr;
        *end++ = ' ';
        advance(end - start);
    }
    void pattern(double value, int decimals) {
        char* const start = room(MaxPatternLength(decimals));
        if (const char* end = WritePattern(start, value, decimals))
            advance(end - start);
    }
    void zone() { padTo(((mColumn - 1) / kZoneWidth + 1) * kZoneWidth + 1); }
    void column(int column) {
        if (mColumn > column)
            endStatement();
        padTo(column);
    }
    void pageBreak() {}
    void endStatement() {
        char* out = room(2);
        out[0] = '\r';
        out[1] = '\n';
        mEnd += 2;
        mColumn = 1;
    }

    std::string take() && {
        mOut.resize(mEnd);
        return std::move(mOut);
    }

private:
    // Where the next `size` characters go.
    char* room(std::size_t size) {
        if (mOut.size() - mEnd < size)
            mOut.resize(mEnd + std::max<std::size_t>(size, 1024));
        return mOut.data() + mEnd;
    }
    void advance(std::ptrdiff_t written) {
        mEnd += static_cast<std::size_t>(written);
        mColumn += static_cast<int>(written);
    }
    void ascii(std::string_view text) {
        std::copy(text.begin(), text.end(), room(text.size()));
        advance(static_cast<std::ptrdiff_t>(text.size()));
    }
    void padTo(int column) {
        if (column > mColumn) {
            const auto count = static_cast<std::size_t>(column - mColumn);
            // Eight spaces at a time; those written beyond the padding are written over next.
            char* const out = room(count + 8);
            for (std::size_t k = 0; k < count; k += 8)
                std::memcpy(out + k, "        ", 8);
            advance(static_cast<std::ptrdiff_t>(count));
        }
    }

    std::string mOut;
    std::size_t mEnd = 0;
    int mColumn = 1;
};

// ---- Building statements ----

// Writes the items of one statement and ends it when it goes out of scope.
template <typename Sink> class Statement {
public:
    explicit Statement(Sink& out) : mOut(out) {}
    ~Statement() { mOut.endStatement(); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& text(std::string_view text) {
        mOut.text(text);
        return *this;
    }
    // A count or plasma number, written by the print-list number rule.
    Statement& count(int n) {
        mOut.count(n);
        return *this;
    }
    Statement& plain(Number value) {
        if (value && std::isfinite(*value))
            mOut.number(*value);
        return *this;
    }
    Statement& plain(double value) { return plain(Number(value)); }
    Statement& plain(const Value& value) { return plain(value.number()); }
    Statement& pattern(Number value, Pattern pattern) {
        if (value)
            mOut.pattern(*value, pattern.decimals);
        return *this;
    }
    Statement& pattern(double value, Pattern pattern) {
        return this->pattern(Number(value), pattern);
    }
    Statement& pattern(const Value& value, Pattern pattern) {
        return this->pattern(value.number(), pattern);
    }
    // A value as the rounding left it: a text unchanged, a number by the number rule.
    Statement& held(const Value& value) {
        if (value.isText())
            text(value.text());
        else
            plain(value.number());
        return *this;
    }
    Statement& zone() {
        mOut.zone();
        return *this;
    }
    Statement& col(int column) {
        mOut.column(column);
        return *this;
    }

private:
    Sink& mOut;
};

template <typename Sink> class ReportBuilder {
public:
    ReportBuilder(const CalibrationDataSet& data, const CalibrationSettings& settings,
                  const CalibrationResults& results, const EditorFields& editor,
                  const ReportHeader& header, const ReportOnlyValues& reportOnly,
                  ReportDestination destination, Sink& out)
        : mData(data), mSettings(settings), mResults(results), mEditor(editor), mHeader(header),
          mReportOnly(reportOnly), mPrinted(destination == ReportDestination::Printer), mOut(out) {}

    void build() {
        writeHeader();
        if (mResults.INRExcludedCount > 0)
            writeINRExclusions();
        underline();
        if (mResults.SDExcludedCount > 0)
            writeSDExclusions();
        if (mResults.CalibrationFailed == 1) {
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
    Statement<Sink> line() { return Statement<Sink>(mOut); }
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
                    power(product(power(workingRatio, slopeAbnormal), expD), isiReference);
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
    Sink& mOut;
};

template <typename Sink>
void buildReport(const CalibrationDataSet& data, CalibrationSettings& settings,
                 CalibrationResults& results, const EditorFields& editor,
                 const ReportHeader& header, ReportDestination destination, Sink& out) {
    const ReportOnlyValues reportOnly = RoundResultsForReport(data, settings, results);
    ReportBuilder<Sink>(data, settings, results, editor, header, reportOnly, destination, out)
        .build();
}

// ---- Laying out ----

void renderStatement(const ReportStatement& statement, TextLayout& layout) {
    for (const ReportItem& item : statement) {
        switch (item.kind) {
        case ReportItem::Kind::Text:
            layout.text(item.text);
            break;
        case ReportItem::Kind::Number:
            layout.number(item.number);
            break;
        case ReportItem::Kind::Zone:
            layout.zone();
            break;
        case ReportItem::Kind::Column:
            layout.column(item.column);
            break;
        case ReportItem::Kind::PageBreak:
            break;
        }
    }
    layout.endStatement();
}

} // namespace

bool IsPageBreak(const ReportStatement& statement) {
    return !statement.empty() && statement.front().kind == ReportItem::Kind::PageBreak;
}

ReportOnlyValues RoundResultsForReport(const CalibrationDataSet& data,
                                       CalibrationSettings& settings, CalibrationResults& results) {
    constexpr Pattern four = "##0.0000";
    constexpr Pattern three = "##0.000";
    constexpr Pattern two = "##0.00";
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
    ReportStatements statements;
    statements.reserve(80 + static_cast<std::size_t>(data.SampleCount) * 2);
    StatementCollector collector(statements);
    buildReport(data, settings, results, editor, header, destination, collector);
    return statements;
}

std::string RenderReportText(const ReportStatements& statements) {
    TextLayout layout(statements.size() * 48);
    for (const ReportStatement& statement : statements)
        if (!IsPageBreak(statement))
            renderStatement(statement, layout);
    return std::move(layout).take();
}

// The text is laid out as the statements are formed, with no statement list in between; it is
// the text RenderReportText makes of BuildReportStatements for the text destination.
std::string BuildResultsReport(const CalibrationDataSet& data, CalibrationSettings& settings,
                               CalibrationResults& results, const EditorFields& editor,
                               const ReportHeader& header) {
    TextLayout layout(2560 + static_cast<std::size_t>(data.SampleCount) * 64);
    buildReport(data, settings, results, editor, header, ReportDestination::Text, layout);
    return std::move(layout).take();
}

} // namespace morvane
