#include "plot_options.h"

namespace morvane {

PlotOptions StartUpPlotOptions(const CalibrationDataSet& data) {
    PlotOptions options;
    TakeAxisLabelsFrom(data, options);
    return options;
}

void TakeAxisLabelsFrom(const CalibrationDataSet& data, PlotOptions& options) {
    options.YAxisLabel = data.ReferencePreparationName.text();
    options.XAxisLabel = data.WorkingPreparationName.text();
}

PlotOptions OptionsForCopies(PlotOptions options) {
    if (!options.ColourInCopies)
        options.BlackAndWhite = true;
    return options;
}

} // namespace morvane
