#pragma once

#include "calibration_records.h"

#include <string>

namespace morvane {

// What the calibration plot shows besides the samples and the abnormal+normal line. One record
// for the program's whole life, edited by the plot options dialog and never saved to a file.
// Each flag is its check box, true when ticked. The samples left out by the limits are
// drawn only when asked for, and the drawing is black on white unless colour is asked for.
// Copies, saved plots and printouts keep the black-on-white drawing unless ColourInCopies asks
// for the window's colours there too.
struct PlotOptions {
    std::string PlotTitle = "Plot of Log PT and Calibration Line(s)";
    std::string XAxisLabel = "WP";
    std::string YAxisLabel = "RP";
    bool ShowAbnormalOnlyLine = true;
    bool ShowLegend = true;
    bool ShowExcludedSamples = false;
    bool BlackAndWhite = true;
    bool ColourInCopies = false;
};

// The options the program starts with: the designed title, both lines and the legend shown, and
// the preparation names of the data set as axis titles (y the reference, x the working one).
PlotOptions StartUpPlotOptions(const CalibrationDataSet& data);

// The options a copy, a saved plot or a printout is drawn with: black on white unless colour in
// copies was asked for.
PlotOptions OptionsForCopies(PlotOptions options);

// Makes the axis titles the data set's preparation names, as opening a data file does.
void TakeAxisLabelsFrom(const CalibrationDataSet& data, PlotOptions& options);

} // namespace morvane
