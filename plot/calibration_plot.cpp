#include "calibration_plot.h"

#include "excluded_samples.h"
#include "plot_ink.h"
#include "svg_surface.h"

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

} // namespace

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

std::string RenderCalibrationPlotSvg(const CalibrationDataSet& data,
                                     const CalibrationResults& results, const PlotOptions& options,
                                     int widthPx, int heightPx) {
    SvgSurface surface(widthPx, heightPx);
    DrawCalibrationPlot(surface, data, results, options);
    return surface.document();
}

} // namespace morvane
