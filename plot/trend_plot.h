#pragma once

// The ISI of one working preparation over its successive calibrations: a point for each
// calibration in the order given, with a bar of two standard errors either way, on a scale of
// pixels (x across from the left edge, y down from the top edge).

#include "drawing_surface.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane {

// One calibration on the trend plot: its label under the axis (the date, say), its ISI and the
// standard error of that ISI, when known.
struct TrendPoint {
    std::string label;
    double isi = 0.0;
    std::optional<double> seIsi;
};

// A point as drawn: its centre and, with a standard error, the ends of its bar (ISI + 2 SE at
// barTop, ISI - 2 SE at barBottom, both in pixels down from the top).
struct TrendMark {
    PlotPoint centre;
    std::optional<double> barTop;
    std::optional<double> barBottom;
};

// Where everything stands: the plotting area's edges in pixels, the ISI scale [lo, hi] with its
// tick step, and a mark for each point.
struct TrendGeometry {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double lo = 0.0;
    double hi = 0.0;
    double step = 0.0;
    std::vector<TrendMark> marks;

    // The pixel height of an ISI on the scale.
    double pixelY(double isi) const;
};

// The points spread evenly across the plotting area, each in the middle of its share; the ISI
// scale holds every bar and point with round ticks at its ends.
TrendGeometry ComputeTrendGeometry(const std::vector<TrendPoint>& points, int widthPx,
                                   int heightPx);

// Draws the trend plot of width x height pixels, replacing what the surface showed: the title,
// the axes with the ISI ticks, the labels of as many points as fit under the axis, the points
// joined in order by a dotted line, and the error bars. Without points only the title and a
// word that there is nothing to show are drawn.
void DrawTrendPlot(DrawingSurface& surface, const std::vector<TrendPoint>& points,
                   const std::string& title, int widthPx, int heightPx);

// The trend plot as an SVG document.
std::string RenderTrendPlotSvg(const std::vector<TrendPoint>& points, const std::string& title,
                               int widthPx, int heightPx);

} // namespace morvane
