#include "cli_commands.h"

#include "atomic_file.h"
#include "calibration_checks_text.h"
#include "calibration_session.h"
#include "grid_conversion.h"
#include "lot_register.h"
#include "message_printing.h"
#include "program_files.h"
#include "register_listing.h"
#include "run_record.h"

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

// The command line's texts replace those of the editor fields, as if typed after opening.
void applyFieldOptions(const CalibrateOptions& options, EditorFields& fields) {
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

void applyPlotOptions(const CalibrateOptions& options, PlotOptions& plot) {
    plot.PlotTitle = options.title.value_or(plot.PlotTitle);
    plot.XAxisLabel = options.xLabel.value_or(plot.XAxisLabel);
    plot.YAxisLabel = options.yLabel.value_or(plot.YAxisLabel);
    if (options.noLegend)
        plot.ShowLegend = false;
    if (options.noAbnormalLine)
        plot.ShowAbnormalOnlyLine = false;
    if (options.showExcluded)
        plot.ShowExcludedSamples = true;
}

// Opens the data file as File > Open does and calibrates as "Calibrate" does, with the command
// line's changes in between. A data file that could not be read whole is not calibrated: there
// is no one to correct it. Unlike the window, which then shows the data set as it was, a file
// in a folder that does not exist is said to be one that cannot be opened. The outcome, or
// nothing when the run did not reach the engine.
std::optional<RunOutcome> openAndCalibrate(const CalibrateOptions& options,
                                           const fs::path& executableFolder,
                                           CalibrationSession& session, MessageSink& sink) {
    session.loadCriticalTTable(options.tcritPath ? *options.tcritPath
                                                 : DefaultTCritPath(executableFolder).string());
    const FileReading reading = session.openDataFile(options.dataFile, sink);
    if (reading == FileReading::FolderMissing)
        sink.show(DataErrorMessage(kCantOpenFileText));
    if (reading != FileReading::Read)
        return std::nullopt;
    applyFieldOptions(options, session.fields);
    applyPlotOptions(options, session.plot);
    GridCells grid;
    WriteDataToGrid(session.calibration.data, grid);
    const RunOutcome outcome = session.calibrate(grid, reportMoment(), sink);
    if (outcome == RunOutcome::Stopped)
        return std::nullopt;
    return outcome;
}

std::string registerLocation(const CalibrateOptions& options) {
    return options.registerLocation.value_or(DefaultRegisterPath());
}

void printRegisterRefusal(std::FILE* err, const RegisterError& error) {
    WriteText(err, std::string("morvane-cli: ") + error.what() + "\n");
}

// Records the run just made, before its report is printed, so that a printed report with
// --record is always one the register holds.
bool recordRun(const CalibrateOptions& options, const CalibrationSession& session,
               const std::vector<Message>& messages, std::FILE* err) {
    GridCells grid;
    WriteDataToGrid(session.calibration.data, grid);
    try {
        const RegisterRecord record =
            RecordOfLastRun(session, grid, messages, RecordingContextNow());
        auto lotRegister = OpenLotRegister(registerLocation(options), RegisterAccess::ReadWrite);
        const std::int64_t id = lotRegister->record(record);
        WriteText(err, "morvane-cli: recorded as record " + std::to_string(id) + " in " +
                           lotRegister->location() + "\n");
        return true;
    } catch (const RegisterError& error) {
        printRegisterRefusal(err, error);
        return false;
    }
}

std::string listed(const std::vector<RegisterRecord>& records, const std::string& format) {
    if (format == "csv")
        return RegisterListCsv(records);
    if (format == "json")
        return RegisterListJson(records);
    return RegisterListText(records);
}

std::string exported(const std::vector<RegisterRecord>& records) {
    std::string lines;
    for (const RegisterRecord& record : records)
        lines += RegisterRecordJsonLine(record);
    return lines;
}

// What one register command prints, or nothing (after a message) when the record asked for is
// not in the register.
std::optional<std::string> registerOutput(CliCommand command, const CalibrateOptions& options,
                                          LotRegister& lotRegister, std::FILE* err) {
    if (command == CliCommand::RegisterList)
        return listed(lotRegister.list(), options.listFormat);
    if (command == CliCommand::RegisterExport)
        return exported(lotRegister.list());
    if (const auto record = lotRegister.find(std::stoll(options.recordId)))
        return record->reportText;
    WriteText(err, "morvane-cli: " + lotRegister.location() + " holds no record " +
                       options.recordId + "\n");
    return std::nullopt;
}

} // namespace

int RunRegisterCommand(CliCommand command, const CalibrateOptions& options, std::FILE* out,
                       std::FILE* err) {
    try {
        auto lotRegister = OpenLotRegister(registerLocation(options), RegisterAccess::ReadOnly);
        const auto output = registerOutput(command, options, *lotRegister, err);
        if (!output)
            return kExitStopped;
        WriteText(out, *output);
        return kExitReported;
    } catch (const RegisterError& error) {
        printRegisterRefusal(err, error);
        return kExitStopped;
    }
}

// Calibrates and writes the plot as SVG, drawn from the report's rounded coefficients as
// "Produce Plot" draws them after a run.
int RunPlotCommand(const CalibrateOptions& options, const fs::path& executableFolder,
                   std::FILE* err) {
    PrintingMessageSink sink(err);
    CalibrationSession session;
    const auto outcome = openAndCalibrate(options, executableFolder, session, sink);
    if (!outcome)
        return kExitStopped;
    if (*outcome == RunOutcome::FitFailed) {
        WriteText(err, "morvane-cli: no plot is drawn when the calibration fails\n");
        return kExitStopped;
    }
    constexpr int kPlotPixels = 600;
    const std::string failure =
        WriteFileAtomically(options.outFile, session.plotSvg(kPlotPixels, kPlotPixels));
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
    CalibrationSession session;
    if (!openAndCalibrate(options, executableFolder, session, sink))
        return kExitStopped;
    if (options.record && !recordRun(options, session, sink.messages(), err))
        return kExitStopped;
    WriteText(out,
              options.json ? session.resultsJson(sink.messages()) : session.lastRun()->reportText);
    return kExitReported;
}

int RunChecksCommand(const CalibrateOptions& options, const fs::path& executableFolder,
                     std::FILE* out, std::FILE* err) {
    PrintingMessageSink sink(err);
    CalibrationSession session;
    if (!openAndCalibrate(options, executableFolder, session, sink))
        return kExitStopped;
    const CalibrationChecks& checks = session.checks();
    WriteText(out, CalibrationChecksText(checks));
    return checks.MeetsCriteria == true ? kExitReported : kExitCriteriaNotMet;
}

} // namespace morvane
