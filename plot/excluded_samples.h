#pragma once

#include "drawing_surface.h"
#include "plot_geometry.h"
#include "plot_options.h"

#include <vector>

namespace morvane {

// Why a sample was left out of the fit.
enum class Exclusion { INRLimits, SDLimit };

// A sample that the INR limits or the SD limit left out, where the plot would show it.
struct ExcludedPlotSample {
    PlotPoint at;
    Exclusion reason = Exclusion::INRLimits;
};

// The samples left out by the INR limits or the SD limit, in grid order; a sample left out by
// both counts as left out by the INR limits, which come first in the run. A row whose PTs have
// no logarithm is left out.
std::vector<ExcludedPlotSample> CollectExcludedSamples(const CalibrationDataSet& data,
                                                       const CalibrationResults& results);

// Draws each excluded sample in the ink of excluded samples: a diagonal cross for the INR
// limits, a small square for the SD limit, sized in units of U as the other markers are.
void DrawExcludedSamples(DrawingSurface& surface, const std::vector<ExcludedPlotSample>& samples,
                         const PlotOptions& options, double unit);

// The legend's entries for the two markers, "Excluded by INR limits" and "Excluded by SD
// limit", on one row in the top margin above the title, in the columns of the legend below.
void DrawExcludedLegend(DrawingSurface& surface, const PlotOptions& options, const PlotRange& r);

} // namespace morvane
