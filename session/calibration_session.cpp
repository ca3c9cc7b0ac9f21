#include "calibration_session.h"

#include "calibration_plot.h"
#include "critical_t_table.h"
#include "results_json.h"
#include "results_report.h"

namespace morvane {

CalibrationSession::CalibrationSession() {
    newDataSet();
    plot = StartUpPlotOptions(calibration.data);
}

bool CalibrationSession::loadCriticalTTable(const std::string& path) {
    calibration.tcrit = LoadCriticalTTable(path);
    return calibration.tcrit.loaded;
}

void CalibrationSession::newDataSet() {
    calibration.data.resetToPlaceholders();
    fields = EditorFields();
    ResetLimitFields(fields);
    currentFileName = fields.txtid;
    mLastRun.reset();
}

FileReading CalibrationSession::openDataFile(const std::string& path, MessageSink& sink) {
    currentFileName = path;
    const FileReading reading = ReadDataFile(path, calibration.data, sink);
    fields = EditorFieldsAfterOpening(calibration.data, path);
    TakeAxisLabelsFrom(calibration.data, plot);
    return reading;
}

RunOutcome CalibrationSession::calibrate(const GridCells& grid, const ReportDateTime& moment,
                                         MessageSink& sink) {
    const RunResult run = PerformCalibrationRun(calibration, grid, fields, sink);
    run.corrections.applyTo(fields);
    if (run.outcome == RunOutcome::Stopped)
        return run.outcome;
    ShownRun shownRun{
        run.outcome,
        RoundResultsForReport(calibration.data, calibration.settings, calibration.results),
        {}};
    shownRun.reportText =
        BuildResultsReport(calibration.data, shownRun.shown, fields, reportHeader(moment));
    mLastRun = std::move(shownRun);
    return run.outcome;
}

ShownResults CalibrationSession::shownResults() const {
    if (mLastRun)
        return mLastRun->shown;
    return RoundResultsForReport(calibration.data, calibration.settings, calibration.results);
}

std::string CalibrationSession::resultsJson(const std::vector<Message>& messages) const {
    return ResultsToJson(calibration.data, calibration.settings, calibration.results,
                         shownResults(), messages, calibration.checks);
}

ReportStatements CalibrationSession::printedReport(const EditorFields& editor,
                                                   const ReportHeader& header) const {
    return BuildReportStatements(calibration.data, shownResults(), editor, header,
                                 ReportDestination::Printer);
}

std::string CalibrationSession::plotSvg(int width, int height) const {
    return RenderCalibrationPlotSvg(calibration.data, shownResults().results, plot, width, height);
}

bool CalibrationSession::saveDataFile(const std::string& path, const GridCells& grid,
                                      MessageSink& sink) {
    return SaveDataFile(path, grid, fields, calibration.data, sink);
}

std::string CalibrationSession::proposeFileName(const std::string& suffix) {
    ProposedName proposed = ProposedFileName(fields.txtid, suffix);
    fields.txtid = std::move(proposed.identifier);
    return proposed.fileName;
}

ReportHeader CalibrationSession::reportHeader(const ReportDateTime& moment) const {
    return MakeReportHeader(currentFileName, moment);
}

} // namespace morvane
