#include "cli_commands.h"

#include "atomic_file.h"
#include "calibration_checks_text.h"
#include "cli_app.h"
#include "file_calibration.h"
#include "report_clock.h"
#include "results_json.h"
#include "results_report.h"
#include "svg_surface.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace morvane {

namespace fs = std::filesystem;

namespace {

// Now: the moment SOURCE_DATE_EPOCH gives (whole seconds since 1970, shown in UTC) when that
// variable holds such a number, so that reports can be reproduced byte for byte; otherwise the
// local clock.
ReportDateTime reportMoment() {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (text == nullptr || *text == '\0')
        return LocalReportDateTime();
    long long seconds = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, seconds);
    if (error != std::errc() || stop != end || seconds < 0)
        return LocalReportDateTime();
    return FormatReportDateTime(static_cast<std::time_t>(seconds), true);
}

// The results as computed, before the report rounds them in place, as JSON.
std::string resultsAsJson(Calibration& calibration, const EditorFields& fields,
                          const ReportHeader& header, const std::vector<Message>& messages) {
    const CalibrationSettings settingsAsComputed = calibration.settings;
    CalibrationResults resultsAsComputed = calibration.results;
    BuildResultsReport(calibration.data, calibration.settings, calibration.results, fields, header);
    // The working ISI's coefficient of variation exists only once the report formed it.
    resultsAsComputed.CVISIWorking = calibration.results.CVISIWorking;
    return ResultsToJson(calibration.data, settingsAsComputed, resultsAsComputed, messages,
                         calibration.checks);
}

} // namespace

// Calibrates and writes the plot as SVG, drawn from the report's rounded coefficients as
// "Produce Plot" draws them after a run.
int RunPlotCommand(const CalibrateOptions& options, const fs::path& executableFolder,
                   std::FILE* err) {
    PrintingMessageSink sink(err);
    FileCalibration session;
    const auto outcome = OpenAndCalibrate(options, executableFolder, session, sink);
    if (!outcome)
        return kExitStopped;
    if (*outcome == RunOutcome::FitFailed) {
        WriteText(err, "morvane-cli: no plot is drawn when the calibration fails\n");
        return kExitStopped;
    }
    Calibration& calibration = session.calibration;
    BuildResultsReport(calibration.data, calibration.settings, calibration.results, session.fields,
                       MakeReportHeader(options.dataFile, reportMoment()));
    constexpr int kPlotPixels = 600;
    const std::string svg = RenderCalibrationPlotSvg(calibration.data, calibration.results,
                                                     session.plot, kPlotPixels, kPlotPixels);
    const std::string failure = WriteFileAtomically(options.outFile, svg);
    if (!failure.empty()) {
        WriteText(err, "morvane-cli: the plot could not be written to " + options.outFile + " (" +
                           failure + ")\n");
        return kExitStopped;
    }
    return kExitReported;
}

int RunCalibrateCommand(const CalibrateOptions& options, const fs::path& executableFolder,
                        std::FILE* out, std::FILE* err) {
    PrintingMessageSink sink(err);
    FileCalibration session;
    if (!OpenAndCalibrate(options, executableFolder, session, sink))
        return kExitStopped;
    Calibration& calibration = session.calibration;
    const ReportHeader header = MakeReportHeader(options.dataFile, reportMoment());
    if (options.json)
        WriteText(out, resultsAsJson(calibration, session.fields, header, sink.messages()));
    else
        WriteText(out, BuildResultsReport(calibration.data, calibration.settings,
                                          calibration.results, session.fields, header));
    return kExitReported;
}

int RunChecksCommand(const CalibrateOptions& options, const fs::path& executableFolder,
                     std::FILE* out, std::FILE* err) {
    PrintingMessageSink sink(err);
    FileCalibration session;
    if (!OpenAndCalibrate(options, executableFolder, session, sink))
        return kExitStopped;
    const CalibrationChecks& checks = session.calibration.checks;
    WriteText(out, CalibrationChecksText(checks));
    return checks.MeetsCriteria == true ? kExitReported : kExitCriteriaNotMet;
}

} // namespace morvane
