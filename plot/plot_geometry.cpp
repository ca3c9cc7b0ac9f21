#include "plot_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace morvane {

namespace {

bool isIncluded(const CalibrationResults& results, int row) {
    return results.INRExcluded[row] == 0 && results.SDExcluded[row] == 0;
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

} // namespace morvane
