#include "report_rounding.h"
#include "number_format.h"
#include "report_arithmetic.h"

#include <string>

namespace morvane {

using namespace report;

namespace {

Value roundedText(Number value, Pattern pattern) {
    std::string text;
    if (value && AppendPattern(text, *value, pattern.decimals))
        return Value(std::move(text));
    return {};
}

// The number a rounded text denotes. A value within half a step of the largest double rounds
// to a text beyond it, which reads back as no double: that value is written as nothing.
Value numberOf(const Value& rounded) {
    const Number number = rounded.number();
    return number ? Value(*number) : Value();
}

Value roundedNumber(Number value, Pattern pattern) {
    return numberOf(roundedText(value, pattern));
}

void roundToText(Value& field, Pattern pattern) {
    Value rounded = roundedText(field.number(), pattern);
    // A small negative value rounds to "-0.0000", which reads back as zero; rounded again, that
    // text stays as it is rather than losing its sign.
    if (rounded.isEmpty() || (field.isText() && field.text() == "-" + rounded.text()))
        return;
    field = std::move(rounded);
}

void roundToNumber(Value& field, Pattern pattern) {
    const Value rounded = roundedText(field.number(), pattern);
    if (!rounded.isEmpty())
        field = numberOf(rounded);
}

} // namespace

ShownResults RoundResultsForReport(const CalibrationDataSet& data,
                                   const CalibrationSettings& settings,
                                   const CalibrationResults& results) {
    constexpr Pattern four = "##0.0000";
    constexpr Pattern three = "##0.000";
    constexpr Pattern two = "##0.00";
    ShownResults shown{settings, results, {}};
    ReportOnlyValues& only = shown.reportOnly;
    CalibrationResults& r = shown.results;
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
    roundToText(shown.settings.LowerINR, "##0.0");
    roundToText(shown.settings.UpperINR, "##0.0");
    return shown;
}

} // namespace morvane
