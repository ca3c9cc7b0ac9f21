#include "excluded_samples.h"

#include "plot_ink.h"

#include <algorithm>

namespace morvane {

namespace {

constexpr double kCrossHalfSizeUnits = 1.0 / 13.0;
constexpr double kSquareHalfSideUnits = 1.0 / 18.0;
// The legend row's markers, above the title: text tops 0.1 U above the markers, as below.
constexpr double kLegendRowUnits = 1.05;

void drawCross(DrawingSurface& surface, PlotPoint c, double h) {
    surface.drawLine({c.x - h, c.y - h}, {c.x + h, c.y + h});
    surface.drawLine({c.x - h, c.y + h}, {c.x + h, c.y - h});
}

void drawSquare(DrawingSurface& surface, PlotPoint c, double h) {
    const PlotPoint corners[] = {
        {c.x - h, c.y - h}, {c.x + h, c.y - h}, {c.x + h, c.y + h}, {c.x - h, c.y + h}};
    for (int i = 0; i < 4; ++i)
        surface.drawLine(corners[i], corners[(i + 1) % 4]);
}

void drawMarker(DrawingSurface& surface, PlotPoint at, Exclusion reason, double unit) {
    if (reason == Exclusion::INRLimits)
        drawCross(surface, at, kCrossHalfSizeUnits * unit);
    else
        drawSquare(surface, at, kSquareHalfSideUnits * unit);
}

} // namespace

std::vector<ExcludedPlotSample> CollectExcludedSamples(const CalibrationDataSet& data,
                                                       const CalibrationResults& results) {
    std::vector<ExcludedPlotSample> samples;
    const int count = std::clamp(data.SampleCount, 0, kMaxSamples);
    for (int row = 1; row <= count; ++row) {
        const bool byINR = results.INRExcluded[row] != 0;
        const auto at = SamplePoint(data, row);
        if (at && (byINR || results.SDExcluded[row] != 0))
            samples.push_back({*at, byINR ? Exclusion::INRLimits : Exclusion::SDLimit});
    }
    return samples;
}

void DrawExcludedSamples(DrawingSurface& surface, const std::vector<ExcludedPlotSample>& samples,
                         const PlotOptions& options, double unit) {
    surface.setLineStyle(LineStyle::Solid);
    surface.setInk(InkFor(PlotElement::ExcludedSample, options));
    for (const ExcludedPlotSample& sample : samples)
        drawMarker(surface, sample.at, sample.reason, unit);
    surface.setInk(InkFor(PlotElement::Frame, options));
}

void DrawExcludedLegend(DrawingSurface& surface, const PlotOptions& options, const PlotRange& r) {
    const double u = r.unit;
    const double row = r.hi + kLegendRowUnits * u;
    const struct {
        double markerX;
        double textX;
        Exclusion reason;
        const char* text;
    } entries[] = {{r.lo + u / 4, r.lo + 0.6 * u, Exclusion::INRLimits, "Excluded by INR limits"},
                   {r.lo + 3 * u, r.lo + 3.2 * u, Exclusion::SDLimit, "Excluded by SD limit"}};
    surface.setLineStyle(LineStyle::Solid);
    for (const auto& entry : entries) {
        surface.setInk(InkFor(PlotElement::ExcludedSample, options));
        drawMarker(surface, {entry.markerX, row}, entry.reason, u);
        surface.setInk(InkFor(PlotElement::Frame, options));
        surface.drawText({entry.textX, row + 0.1 * u}, entry.text);
    }
}

} // namespace morvane
