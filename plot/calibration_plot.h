#pragma once

#include "calibration_records.h"
#include "drawing_surface.h"
#include "plot_geometry.h"
#include "plot_options.h"

#include <string>

namespace morvane {

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

// The calibration plot as an SVG document of the given size in pixels.
std::string RenderCalibrationPlotSvg(const CalibrationDataSet& data,
                                     const CalibrationResults& results, const PlotOptions& options,
                                     int widthPx, int heightPx);

} // namespace morvane
