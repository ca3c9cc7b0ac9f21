#include "calibration_plot.h"

#include "excluded_samples.h"
#include "plot_ink.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace morvane {

namespace {

// Sizes in units of U; the type height keeps every text clear of the axes and of its neighbours.
constexpr double kMarginUnits = 1.5;
constexpr double kTextHeightUnits = 0.2;
constexpr double kCircleRadiusUnits = 1.0 / 22.0;
constexpr double kPlusHalfSizeUnits = 1.0 / 13.0;
constexpr double kYTitleGapUnits = 0.05; // least space between the y-axis title and tick labels

bool isIncluded(const CalibrationResults& results, int row) {
    return results.INRExcluded[row] == 0 && results.SDExcluded[row] == 0;
}

void drawPlus(DrawingSurface& surface, PlotPoint centre, double halfSize) {
    surface.drawLine({centre.x - halfSize, centre.y}, {centre.x + halfSize, centre.y});
    surface.drawLine({centre.x, centre.y - halfSize}, {centre.x, centre.y + halfSize});
}

void setUpSurface(DrawingSurface& surface, const PlotRange& r, const PlotOptions& options) {
    const double margin = kMarginUnits * r.unit;
    surface.setScale(r.lo - margin, r.hi + margin, r.hi + margin, r.lo - margin);
    surface.setLineStyle(LineStyle::Solid);
    surface.setInk(InkFor(PlotElement::Frame, options));
    surface.setTextHeight(kTextHeightUnits * r.unit);
}

void drawAxesAndTicks(DrawingSurface& surface, const PlotRange& r) {
    const double lo = r.lo;
    const double u = r.unit;
    surface.drawLine({lo, lo}, {r.hi, lo});
    surface.drawLine({lo, lo}, {lo, r.hi});
    for (int j = 0; j <= r.tickIntervals; ++j) {
        const double v = lo + kTickStep * j;
        const std::string label = FormatTickLabel(v);
        surface.drawLine({v, lo}, {v, lo - u / 10});
        surface.drawLine({lo - u / 10, v}, {lo, v});
        surface.drawText({v - u / 5, lo - u / 5}, label);
        surface.drawText({lo - u / 1.8, v + u / 8}, label);
    }
}

void drawSampleMarker(DrawingSurface& surface, PlotPoint at, bool isNormal, double u,
                      const PlotOptions& options) {
    surface.setInk(
        InkFor(isNormal ? PlotElement::NormalSample : PlotElement::AbnormalSample, options));
    if (isNormal)
        drawPlus(surface, at, kPlusHalfSizeUnits * u);
    else
        surface.drawCircle(at, kCircleRadiusUnits * u);
}

void drawMarkers(DrawingSurface& surface, const std::vector<PlotSample>& samples, double u,
                 const PlotOptions& options) {
    for (const PlotSample& sample : samples)
        drawSampleMarker(surface, sample.at, sample.isNormal, u, options);
    surface.setInk(InkFor(PlotElement::Frame, options));
}

void drawCalibrationLine(DrawingSurface& surface, const Value& intercept, const Value& slope,
                         const PlotRange& r) {
    const std::optional<double> a = intercept.number();
    const std::optional<double> b = slope.number();
    if (!a || !b)
        return;
    if (const std::optional<PlotSegment> segment = ClipCalibrationLine(*a, *b, r))
        surface.drawLine(segment->from, segment->to);
}

void drawLines(DrawingSurface& surface, const CalibrationResults& results,
               const PlotOptions& options, const PlotRange& r) {
    surface.setInk(InkFor(PlotElement::AbnormalNormalLine, options));
    drawCalibrationLine(surface, results.InterceptAll, results.SlopeAll, r);
    if (options.ShowAbnormalOnlyLine) {
        surface.setLineStyle(LineStyle::Dotted);
        surface.setInk(InkFor(PlotElement::AbnormalOnlyLine, options));
        drawCalibrationLine(surface, results.InterceptAbnormal, results.SlopeAbnormal, r);
    }
    surface.setInk(InkFor(PlotElement::Frame, options));
}

// The y-axis title sits half a tick step above the middle of the axis when N is odd, and half a
// step above the middle tick label when N is even.
double yAxisTitleTop(const PlotRange& r) {
    const int n = r.tickIntervals;
    const double steps = n % 2 == 1 ? n / 2.0 : (n + 1) / 2.0;
    return r.lo + kTickStep * steps + r.unit / 8;
}

// The y-axis title reads across, left of the tick labels, when it fits there; a longer one is
// turned to read upwards along the axis so that it crosses neither the labels nor the axis.
void drawYAxisTitle(DrawingSurface& surface, const std::string& title, const PlotRange& r) {
    const double left = r.lo - 1.4 * r.unit;
    const double room = (1.4 - 1 / 1.8 - kYTitleGapUnits) * r.unit;
    if (surface.textWidth(title) <= room)
        surface.drawText({left, yAxisTitleTop(r)}, title);
    else
        surface.drawTextUpwards(left, (r.lo + r.hi) / 2, title);
}

void drawAxisTitles(DrawingSurface& surface, const PlotOptions& options, const PlotRange& r) {
    surface.drawText({r.lo + 2.2 * r.unit, r.lo - r.unit / 2.1}, options.XAxisLabel);
    drawYAxisTitle(surface, options.YAxisLabel, r);
}

void drawLegend(DrawingSurface& surface, const PlotOptions& options, const PlotRange& r) {
    const double lo = r.lo;
    const double u = r.unit;
    const PlotInk frame = InkFor(PlotElement::Frame, options);
    surface.setLineStyle(LineStyle::Solid);
    surface.setInk(InkFor(PlotElement::AbnormalNormalLine, options));
    surface.drawLine({lo, lo - u}, {lo + u / 2, lo - u});
    surface.setInk(frame);
    surface.drawText({lo + 0.6 * u, lo - 0.9 * u}, "Abnormal+normal line");
    if (options.ShowAbnormalOnlyLine) {
        surface.setLineStyle(LineStyle::Dotted);
        surface.setInk(InkFor(PlotElement::AbnormalOnlyLine, options));
        surface.drawLine({lo, lo - 1.3 * u}, {lo + u / 2, lo - 1.3 * u});
        surface.setInk(frame);
        surface.drawText({lo + 0.6 * u, lo - 1.2 * u}, "Abnormal only line");
    }
    surface.setLineStyle(LineStyle::Solid);
    drawSampleMarker(surface, {lo + 3 * u, lo - u}, false, u, options);
    surface.setInk(frame);
    surface.drawText({lo + 3.2 * u, lo - 0.9 * u}, "Abnormal sample");
    drawSampleMarker(surface, {lo + 3 * u, lo - 1.3 * u}, true, u, options);
    surface.setInk(frame);
    surface.drawText({lo + 3.2 * u, lo - 1.2 * u}, "Normal sample");
    if (options.ShowExcludedSamples)
        DrawExcludedLegend(surface, options, r);
}

// The samples that span the axes: those in the fit and the excluded ones shown.
std::vector<PlotSample> withExcluded(std::vector<PlotSample> samples,
                                     const std::vector<ExcludedPlotSample>& excluded) {
    for (const ExcludedPlotSample& sample : excluded)
        samples.push_back({sample.at, false});
    return samples;
}

// Where a line f(t) = a + b t meets the square's side at t = edge, or, when it passes above or
// below the square there, where it crosses the top or bottom.
std::optional<PlotPoint> clippedEnd(double a, double b, double edge, const PlotRange& r) {
    const double f = a + b * edge;
    if (f > r.hi || f < r.lo) {
        if (b == 0.0)
            return std::nullopt;
        const double side = f > r.hi ? r.hi : r.lo;
        return PlotPoint{(side - a) / b, side};
    }
    return PlotPoint{edge, f};
}

} // namespace

std::optional<PlotPoint> SamplePoint(const CalibrationDataSet& data, int row) {
    const PlotPoint at{std::log(data.WorkingPT[row]), std::log(data.ReferencePT[row])};
    if (std::isfinite(at.x) && std::isfinite(at.y))
        return at;
    return std::nullopt;
}

std::vector<PlotSample> CollectPlotSamples(const CalibrationDataSet& data,
                                           const CalibrationResults& results) {
    std::vector<PlotSample> samples;
    const int count = std::clamp(data.SampleCount, 0, kMaxSamples);
    for (int row = 1; row <= count; ++row)
        if (const auto at = SamplePoint(data, row); at && isIncluded(results, row))
            samples.push_back({*at, data.IsNormal[row] != 0});
    return samples;
}

std::optional<PlotRange> ComputePlotRange(const std::vector<PlotSample>& samples) {
    if (samples.empty())
        return std::nullopt;
    double lo = 999.0;
    double hi = 0.0;
    for (const PlotSample& sample : samples) {
        lo = std::min({lo, sample.at.x, sample.at.y});
        hi = std::max({hi, sample.at.x, sample.at.y});
    }
    // Division by the step is exact (a power of two), so "on the step" is an exact test.
    lo = std::floor(lo / kTickStep) * kTickStep;
    if (hi / kTickStep != std::floor(hi / kTickStep))
        hi = (std::floor(hi / kTickStep) + 1) * kTickStep;
    if (!(hi > lo))
        return std::nullopt;
    const int intervals = static_cast<int>(std::lround((hi - lo) / kTickStep));
    return PlotRange{lo, hi, (hi - lo) / 5, intervals};
}

std::string FormatTickLabel(double value) {
    // Halves round away from zero; adding 0.0 turns a negative zero into "0.00". Written without
    // the locale, so the decimal separator is always a period.
    const double rounded = std::round(value * 100.0) / 100.0 + 0.0;
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, 2);
    return std::string(text, result.ptr);
}

std::optional<PlotSegment> ClipCalibrationLine(double intercept, double slope,
                                               const PlotRange& range) {
    if (!std::isfinite(intercept) || !std::isfinite(slope))
        return std::nullopt;
    const std::optional<PlotPoint> from = clippedEnd(intercept, slope, range.lo, range);
    const std::optional<PlotPoint> to = clippedEnd(intercept, slope, range.hi, range);
    if (!from || !to)
        return std::nullopt;
    return PlotSegment{*from, *to};
}

void DrawCalibrationPlot(DrawingSurface& surface, const CalibrationDataSet& data,
                         const CalibrationResults& results, const PlotOptions& options) {
    const std::vector<PlotSample> samples = CollectPlotSamples(data, results);
    const std::vector<ExcludedPlotSample> excluded = options.ShowExcludedSamples
                                                         ? CollectExcludedSamples(data, results)
                                                         : std::vector<ExcludedPlotSample>{};
    surface.clear();
    const std::optional<PlotRange> range = ComputePlotRange(withExcluded(samples, excluded));
    if (!range)
        return;
    const PlotRange& r = *range;
    setUpSurface(surface, r, options);
    drawAxesAndTicks(surface, r);
    // The samples left out go below the ones in the fit, which stay in sight where they meet.
    DrawExcludedSamples(surface, excluded, options, r.unit);
    drawMarkers(surface, samples, r.unit, options);
    drawLines(surface, results, options, r);
    drawAxisTitles(surface, options, r);
    if (options.ShowLegend)
        drawLegend(surface, options, r);
    surface.drawText({r.lo + r.unit, r.hi + r.unit / 2}, options.PlotTitle);
}

} // namespace morvane
