#include "trend_plot.h"

#include "number_format.h"
#include "svg_surface.h"

#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

// The room around the plotting area, in pixels: the tick labels and the upward axis title on
// the left, the title above, the point labels below.
constexpr double kLeftMargin = 72.0;
constexpr double kRightMargin = 24.0;
constexpr double kTopMargin = 44.0;
constexpr double kBottomMargin = 52.0;
constexpr double kTextHeight = 13.0;
constexpr double kTickLength = 5.0;
constexpr double kMarkRadius = 4.0;
constexpr double kBarCapHalfWidth = 5.0;
constexpr double kLabelGap = 10.0;
// Bars reach this many standard errors either side of the ISI.
constexpr double kBarStandardErrors = 2.0;
// A few round ticks up the ISI axis.
constexpr double kWantedTickIntervals = 4.0;
// A scale whose points all stand at one ISI spans this much around it.
constexpr double kLeastSpan = 0.1;
// Tolerance for a bound that lies on a tick but was computed just beside it.
constexpr double kOnTick = 1e-9;

const PlotInk kFrameInk{0x000000, 1.0};
const PlotInk kPointInk{0x0072B2, 1.5};

// The round step (1, 2 or 5 times a power of ten) nearest above a rough one.
double RoundStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double share = rough / power;
    const double factor = share <= 1.0 ? 1.0 : share <= 2.0 ? 2.0 : share <= 5.0 ? 5.0 : 10.0;
    return factor * power;
}

// The decimals a tick label needs to show its step: 2 for 0.05 or 0.02, 1 for 0.1 or 0.5.
int DecimalsOf(double step) {
    return std::max(0, static_cast<int>(-std::floor(std::log10(step) + kOnTick)));
}

double LowestValue(const TrendPoint& point) {
    return point.isi - kBarStandardErrors * point.seIsi.value_or(0.0);
}

double HighestValue(const TrendPoint& point) {
    return point.isi + kBarStandardErrors * point.seIsi.value_or(0.0);
}

void SetScale(TrendGeometry& geometry, const std::vector<TrendPoint>& points) {
    double lo = LowestValue(points.front());
    double hi = HighestValue(points.front());
    for (const TrendPoint& point : points) {
        lo = std::min(lo, LowestValue(point));
        hi = std::max(hi, HighestValue(point));
    }
    if (hi - lo < kLeastSpan / 2) {
        const double middle = (lo + hi) / 2;
        lo = middle - kLeastSpan / 2;
        hi = middle + kLeastSpan / 2;
    }
    geometry.step = RoundStep((hi - lo) / kWantedTickIntervals);
    geometry.lo = std::floor(lo / geometry.step + kOnTick) * geometry.step;
    geometry.hi = std::ceil(hi / geometry.step - kOnTick) * geometry.step;
}

TrendMark MarkOf(const TrendGeometry& geometry, const TrendPoint& point, double x) {
    TrendMark mark{{x, geometry.pixelY(point.isi)}, std::nullopt, std::nullopt};
    if (point.seIsi) {
        mark.barTop = geometry.pixelY(HighestValue(point));
        mark.barBottom = geometry.pixelY(LowestValue(point));
    }
    return mark;
}

std::string TickLabel(double value, int decimals) {
    std::string text;
    AppendPattern(text, value, decimals);
    return text;
}

void DrawAxes(DrawingSurface& surface, const TrendGeometry& g) {
    surface.setInk(kFrameInk);
    surface.setLineStyle(LineStyle::Solid);
    surface.drawLine({g.left, g.top}, {g.left, g.bottom});
    surface.drawLine({g.left, g.bottom}, {g.right, g.bottom});
    const int decimals = DecimalsOf(g.step);
    const int ticks = static_cast<int>(std::lround((g.hi - g.lo) / g.step));
    for (int tick = 0; tick <= ticks; ++tick) {
        const double value = g.lo + tick * g.step;
        const double y = g.pixelY(value);
        surface.drawLine({g.left - kTickLength, y}, {g.left, y});
        const std::string label = TickLabel(value, decimals);
        const double width = surface.textWidth(label);
        surface.drawText({g.left - kTickLength - 4.0 - width, y - kTextHeight / 2}, label);
    }
    surface.drawTextUpwards(8.0, (g.top + g.bottom) / 2, "ISI");
}

// Every label when they fit side by side, else every second, third... starting with the first.
void DrawLabels(DrawingSurface& surface, const TrendGeometry& g,
                const std::vector<TrendPoint>& points) {
    double widest = 0.0;
    for (const TrendPoint& point : points)
        widest = std::max(widest, surface.textWidth(point.label));
    const double share = (g.right - g.left) / static_cast<double>(points.size());
    const auto every =
        static_cast<std::size_t>(std::max(1.0, std::ceil((widest + kLabelGap) / share)));
    for (std::size_t i = 0; i < points.size(); i += every) {
        const double x = g.marks[i].centre.x;
        surface.drawLine({x, g.bottom}, {x, g.bottom + kTickLength});
        const double width = surface.textWidth(points[i].label);
        surface.drawText({x - width / 2, g.bottom + kTickLength + 4.0}, points[i].label);
    }
}

void DrawMarks(DrawingSurface& surface, const TrendGeometry& g) {
    surface.setInk(kPointInk);
    surface.setLineStyle(LineStyle::Dotted);
    for (std::size_t i = 1; i < g.marks.size(); ++i)
        surface.drawLine(g.marks[i - 1].centre, g.marks[i].centre);
    surface.setLineStyle(LineStyle::Solid);
    for (const TrendMark& mark : g.marks) {
        surface.drawCircle(mark.centre, kMarkRadius);
        if (!mark.barTop)
            continue;
        const double x = mark.centre.x;
        surface.drawLine({x, *mark.barTop}, {x, *mark.barBottom});
        for (double end : {*mark.barTop, *mark.barBottom})
            surface.drawLine({x - kBarCapHalfWidth, end}, {x + kBarCapHalfWidth, end});
    }
}

} // namespace

double TrendGeometry::pixelY(double isi) const {
    return bottom - (isi - lo) / (hi - lo) * (bottom - top);
}

TrendGeometry ComputeTrendGeometry(const std::vector<TrendPoint>& points, int widthPx,
                                   int heightPx) {
    TrendGeometry geometry;
    geometry.left = kLeftMargin;
    geometry.top = kTopMargin;
    geometry.right = std::max(geometry.left + 1.0, widthPx - kRightMargin);
    geometry.bottom = std::max(geometry.top + 1.0, heightPx - kBottomMargin);
    if (points.empty())
        return geometry;
    SetScale(geometry, points);
    const double share = (geometry.right - geometry.left) / static_cast<double>(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        geometry.marks.push_back(
            MarkOf(geometry, points[i], geometry.left + (static_cast<double>(i) + 0.5) * share));
    return geometry;
}

void DrawTrendPlot(DrawingSurface& surface, const std::vector<TrendPoint>& points,
                   const std::string& title, int widthPx, int heightPx) {
    surface.clear();
    surface.setScale(0.0, 0.0, widthPx, heightPx);
    surface.setTextHeight(kTextHeight);
    surface.setInk(kFrameInk);
    surface.drawText({kLeftMargin, 14.0}, title);
    if (points.empty()) {
        surface.drawText({kLeftMargin, kTopMargin}, "No calibration with an ISI to show.");
        return;
    }
    const TrendGeometry geometry = ComputeTrendGeometry(points, widthPx, heightPx);
    DrawAxes(surface, geometry);
    DrawLabels(surface, geometry, points);
    DrawMarks(surface, geometry);
}

std::string RenderTrendPlotSvg(const std::vector<TrendPoint>& points, const std::string& title,
                               int widthPx, int heightPx) {
    SvgSurface surface(widthPx, heightPx);
    DrawTrendPlot(surface, points, title, widthPx, heightPx);
    return surface.document();
}

} // namespace morvane
