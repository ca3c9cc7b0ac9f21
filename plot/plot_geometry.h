#pragma once

// Where the samples and the calibration lines stand on the plot, in ln PT: the samples in the
// fit, the common range of both axes, the tick labels and the clipping of a line to the square.

#include "calibration_records.h"
#include "drawing_surface.h"

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

} // namespace morvane
