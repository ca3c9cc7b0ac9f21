#pragma once

#include "calibration_records.h"
#include "drawing_surface.h"
#include "plot_options.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane {

// Distance between neighbouring ticks on both axes, in ln PT.
inline constexpr double kTickStep = 0.25;

// One sample as the plot shows it: ln PT working across, ln PT reference up.
struct PlotSample {
    PlotPoint at;
    bool isNormal = false;
    friend bool operator==(const PlotSample&, const PlotSample&) = default;
};

// The common range [lo, hi] of both axes, snapped to the tick step, with the unit U of every
// margin, offset and marker size, and the number N of tick intervals.
struct PlotRange {
    double lo = 0.0;
    double hi = 0.0;
    double unit = 0.0;
    int tickIntervals = 0;
};

// A segment of a calibration line inside the plotted square.
struct PlotSegment {
    PlotPoint from;
    PlotPoint to;
};

// Where grid row `row` stands on the plot: (ln x, ln y) of its working and reference PTs, or
// nothing when a PT has no logarithm (zero or negative).
std::optional<PlotPoint> SamplePoint(const CalibrationDataSet& data, int row);

// The samples to plot, in grid order: every row up to SampleCount that neither the INR limits
// nor the SD limit excluded. A row whose PTs have no logarithm (zero or negative) is left out.
std::vector<PlotSample> CollectPlotSamples(const CalibrationDataSet& data,
                                           const CalibrationResults& results);

// The smallest range holding every coordinate of every sample, lo rounded down and hi rounded up
// to the tick step (a bound already on the step stays). Nothing when there is no sample or when
// the range has no width, as then there is no scale to draw on.
std::optional<PlotRange> ComputePlotRange(const std::vector<PlotSample>& samples);

// A tick label: the value with two decimals ("2.25", "4.00").
std::string FormatTickLabel(double value);

// The part of ln y = intercept + slope * ln x drawn in the square [lo, hi] x [lo, hi]: each end
// at the square's left or right side, or moved along the line to the top or bottom side where
// the line leaves the square there. A line lying wholly above or below the square comes out as
// a single point. Nothing when that move would divide by a zero slope, or when a coefficient is
// not a finite number.
std::optional<PlotSegment> ClipCalibrationLine(double intercept, double slope,
                                               const PlotRange& range);

// Draws the whole calibration plot, replacing what the surface showed: axes with ticks and
// labels, a circle for each abnormal and a plus for each normal sample, the abnormal+normal line
// (solid), the abnormal-only line (dotted) when the options ask for it, the axis titles, the
// legend when asked for, and the title. When the options ask for them, the samples the limits
// left out are drawn too, in light grey with their own legend entries, and the axes then span
// them as well. Each part is drawn in the ink the options give it (black and white, or
// colour). A y-axis title too wide for the space left of the tick
// labels is set upwards along the axis instead. Lines read their coefficients as numbers from the
// results; a line without both coefficients is not drawn. Without samples the surface is only
// cleared.
void DrawCalibrationPlot(DrawingSurface& surface, const CalibrationDataSet& data,
                         const CalibrationResults& results, const PlotOptions& options);

} // namespace morvane
