#include "file_calibration.h"

#include "cli_app.h"
#include "critical_t_table.h"
#include "data_file.h"
#include "grid_conversion.h"

#include <system_error>

namespace morvane {

namespace fs = std::filesystem;

namespace {

void applyOptions(const CalibrateOptions& options, EditorFields& fields) {
    const std::pair<const std::optional<std::string>*, std::string*> texts[] = {
        {&options.lowerINR, &fields.txtLowerINR},
        {&options.upperINR, &fields.txtUpperINR},
        {&options.sdLimit, &fields.txtSDReg},
        {&options.isi, &fields.txtISI},
        {&options.seIsi, &fields.txtSEISI},
        {&options.ci, &fields.ComboCI},
        {&options.id, &fields.txtid},
    };
    for (const auto& [option, field] : texts)
        if (option->has_value())
            *field = **option;
    if (options.tomenson)
        fields.Chkbox1 = true;
}

// Reads the data file as File > Open does. A file in a folder that does not exist is reported
// as a file that cannot be opened: there is nothing to calibrate either way.
bool openDataFile(const std::string& path, CalibrationDataSet& data, MessageSink& sink) {
    std::error_code error;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, error)) {
        sink.show(DataErrorMessage(kCantOpenFileText));
        return false;
    }
    RecordingMessageSink reader;
    ReadDataFile(path, data, reader);
    for (const Message& message : reader.messages)
        sink.show(message);
    return reader.messages.empty();
}

// The plot options as File > Open leaves them for the data set just read, with the command
// line's changes.
PlotOptions plotOptionsAfterOpening(const CalibrationDataSet& data,
                                    const CalibrateOptions& options) {
    PlotOptions plot = StartUpPlotOptions(data);
    TakeAxisLabelsFrom(data, plot);
    plot.PlotTitle = options.title.value_or(plot.PlotTitle);
    plot.XAxisLabel = options.xLabel.value_or(plot.XAxisLabel);
    plot.YAxisLabel = options.yLabel.value_or(plot.YAxisLabel);
    if (options.noLegend)
        plot.ShowLegend = 0;
    if (options.noAbnormalLine)
        plot.ShowAbnormalOnlyLine = 0;
    if (options.showExcluded)
        plot.ShowExcludedSamples = 1;
    return plot;
}

} // namespace

void WriteText(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

MessageAnswer PrintingMessageSink::show(const Message& message) {
    WriteText(mErr, message.shownTitle() + ": " + message.text + "\n");
    std::fflush(mErr);
    mMessages.push_back(message);
    return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
}

std::optional<RunOutcome> OpenAndCalibrate(const CalibrateOptions& options,
                                           const fs::path& executableFolder,
                                           FileCalibration& session, MessageSink& sink) {
    Calibration& calibration = session.calibration;
    const fs::path tcrit =
        options.tcritPath ? fs::path(*options.tcritPath) : DefaultTCritPath(executableFolder);
    calibration.tcrit = LoadCriticalTTable(tcrit.string());
    if (!openDataFile(options.dataFile, calibration.data, sink))
        return std::nullopt;
    session.plot = plotOptionsAfterOpening(calibration.data, options);
    GridCells grid;
    WriteDataToGrid(calibration.data, grid);
    session.fields = EditorFieldsAfterOpening(calibration.data, options.dataFile);
    applyOptions(options, session.fields);
    const RunOutcome outcome = PerformCalibrationRun(calibration, grid, session.fields, sink);
    if (outcome == RunOutcome::Stopped)
        return std::nullopt;
    return outcome;
}

} // namespace morvane
