#include "cli_app.h"

#include "atomic_file.h"
#include "calibration_run.h"
#include "critical_t_table.h"
#include "data_file.h"
#include "grid_conversion.h"
#include "message.h"
#include "plot_options.h"
#include "report_clock.h"
#include "results_json.h"
#include "results_report.h"
#include "svg_surface.h"
#include "version.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <system_error>

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

void write(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

// Prints each message as the line "TITLE: TEXT" the moment it is shown, and keeps it.
class PrintingMessageSink : public MessageSink {
public:
    explicit PrintingMessageSink(std::FILE* err) : mErr(err) {}

    MessageAnswer show(const Message& message) override {
        write(mErr, message.shownTitle() + ": " + message.text + "\n");
        std::fflush(mErr);
        mMessages.push_back(message);
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }

    const std::vector<Message>& messages() const { return mMessages; }

private:
    std::FILE* mErr;
    std::vector<Message> mMessages;
};

bool isConfidenceLevel(const std::string& text) {
    return text == "90%" || text == "95%" || text == "99%";
}

// The option that sets a text field, or nothing for another argument.
std::optional<std::string>* textOption(CalibrateOptions& options, std::string_view name) {
    if (name == "--lower-inr")
        return &options.lowerINR;
    if (name == "--upper-inr")
        return &options.upperINR;
    if (name == "--sd-limit")
        return &options.sdLimit;
    if (name == "--isi")
        return &options.isi;
    if (name == "--se-isi")
        return &options.seIsi;
    if (name == "--ci")
        return &options.ci;
    if (name == "--id")
        return &options.id;
    if (name == "--tcrit")
        return &options.tcritPath;
    if (name == "--title")
        return &options.title;
    if (name == "--x-label")
        return &options.xLabel;
    if (name == "--y-label")
        return &options.yLabel;
    return nullptr;
}

ParsedCommandLine usageError(std::string error) {
    ParsedCommandLine parsed;
    parsed.command = CliCommand::UsageError;
    parsed.error = std::move(error);
    return parsed;
}

// Reads one argument of the calibrate command at index k, which it may advance past a value.
// Returns an error text, or nothing when the argument was taken.
std::optional<std::string> takeArgument(const std::vector<std::string>& arguments, std::size_t& k,
                                        ParsedCommandLine& parsed) {
    const std::string& argument = arguments[k];
    CalibrateOptions& options = parsed.options;
    if (argument == "--help" || argument == "--version") {
        parsed.command = argument == "--help" ? CliCommand::Help : CliCommand::Version;
        return std::nullopt;
    }
    if (argument == "--tomenson") {
        options.tomenson = true;
        return std::nullopt;
    }
    if (argument == "--json") {
        options.json = true;
        return std::nullopt;
    }
    if (argument == "--no-legend" || argument == "--no-abnormal-line") {
        (argument == "--no-legend" ? options.noLegend : options.noAbnormalLine) = true;
        return std::nullopt;
    }
    if (argument == "--out" || argument.starts_with("--out=")) {
        if (argument.size() > 5)
            options.outFile = argument.substr(6);
        else if (k + 1 < arguments.size())
            options.outFile = arguments[++k];
        else
            return "option --out needs a value";
        return std::nullopt;
    }
    const auto equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (auto* field = textOption(options, name)) {
        if (equals != std::string::npos)
            *field = argument.substr(equals + 1);
        else if (k + 1 < arguments.size())
            *field = arguments[++k];
        else
            return "option " + name + " needs a value";
        return std::nullopt;
    }
    if (argument.size() > 1 && argument[0] == '-')
        return "unknown option " + argument;
    if (!options.dataFile.empty())
        return "only one data file can be calibrated at a time";
    options.dataFile = argument;
    return std::nullopt;
}

ParsedCommandLine checkCalibrateOptions(ParsedCommandLine parsed) {
    const CalibrateOptions& options = parsed.options;
    if (parsed.command != CliCommand::Calibrate && parsed.command != CliCommand::Plot)
        return parsed;
    if (options.dataFile.empty())
        return usageError("no data file given");
    if (options.ci && !isConfidenceLevel(*options.ci))
        return usageError("--ci takes 90%, 95% or 99%, not \"" + *options.ci + "\"");
    const bool plotOptionGiven = !options.outFile.empty() || options.title || options.xLabel ||
                                 options.yLabel || options.noLegend || options.noAbnormalLine;
    if (parsed.command == CliCommand::Calibrate && plotOptionGiven)
        return usageError("the plot options belong to the plot command");
    if (parsed.command == CliCommand::Plot && options.json)
        return usageError("--json belongs to the calibrate command");
    if (parsed.command == CliCommand::Plot && options.outFile.empty())
        return usageError("the plot command needs --out FILE.svg");
    return parsed;
}

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

// The results as computed, before the report rounds them in place, as JSON.
std::string resultsAsJson(Calibration& calibration, const EditorFields& fields,
                          const ReportHeader& header, const std::vector<Message>& messages) {
    const CalibrationSettings settingsAsComputed = calibration.settings;
    CalibrationResults resultsAsComputed = calibration.results;
    BuildResultsReport(calibration.data, calibration.settings, calibration.results, fields, header);
    // The working ISI's coefficient of variation exists only once the report formed it.
    resultsAsComputed.CVISIWorking = calibration.results.CVISIWorking;
    return ResultsToJson(calibration.data, settingsAsComputed, resultsAsComputed, messages);
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
    return plot;
}

// Opens the data file and calibrates as "Calibrate" does; the outcome, or nothing when the
// file could not be read.
std::optional<RunOutcome> openAndCalibrate(const CalibrateOptions& options,
                                           const fs::path& executableFolder,
                                           Calibration& calibration, EditorFields& fields,
                                           PlotOptions& plot, MessageSink& sink) {
    const fs::path tcrit =
        options.tcritPath ? fs::path(*options.tcritPath) : DefaultTCritPath(executableFolder);
    calibration.tcrit = LoadCriticalTTable(tcrit.string());
    if (!openDataFile(options.dataFile, calibration.data, sink))
        return std::nullopt;
    plot = plotOptionsAfterOpening(calibration.data, options);
    GridCells grid;
    WriteDataToGrid(calibration.data, grid);
    fields = EditorFieldsAfterOpening(calibration.data, options.dataFile);
    applyOptions(options, fields);
    return PerformCalibrationRun(calibration, grid, fields, sink);
}

// Calibrates and writes the plot as SVG, drawn from the report's rounded coefficients as
// "Produce Plot" draws them after a run.
int plot(const CalibrateOptions& options, const fs::path& executableFolder, std::FILE* err) {
    PrintingMessageSink sink(err);
    Calibration calibration;
    EditorFields fields;
    PlotOptions plotOptions;
    const auto outcome =
        openAndCalibrate(options, executableFolder, calibration, fields, plotOptions, sink);
    if (!outcome || *outcome == RunOutcome::Stopped)
        return kExitStopped;
    if (*outcome == RunOutcome::FitFailed) {
        write(err, "morvane-cli: no plot is drawn when the calibration fails\n");
        return kExitStopped;
    }
    BuildResultsReport(calibration.data, calibration.settings, calibration.results, fields,
                       MakeReportHeader(options.dataFile, reportMoment()));
    constexpr int kPlotPixels = 600;
    const std::string svg = RenderCalibrationPlotSvg(calibration.data, calibration.results,
                                                     plotOptions, kPlotPixels, kPlotPixels);
    const std::string failure = WriteFileAtomically(options.outFile, svg);
    if (!failure.empty()) {
        write(err, "morvane-cli: the plot could not be written to " + options.outFile + " (" +
                       failure + ")\n");
        return kExitStopped;
    }
    return kExitReported;
}

int calibrate(const CalibrateOptions& options, const fs::path& executableFolder, std::FILE* out,
              std::FILE* err) {
    PrintingMessageSink sink(err);
    Calibration calibration;
    EditorFields fields;
    PlotOptions unused;
    const auto outcome =
        openAndCalibrate(options, executableFolder, calibration, fields, unused, sink);
    if (!outcome || *outcome == RunOutcome::Stopped)
        return kExitStopped;

    const ReportHeader header = MakeReportHeader(options.dataFile, reportMoment());
    if (options.json)
        write(out, resultsAsJson(calibration, fields, header, sink.messages()));
    else
        write(out, BuildResultsReport(calibration.data, calibration.settings, calibration.results,
                                      fields, header));
    return kExitReported;
}

} // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return usageError("no command given");
    ParsedCommandLine parsed;
    if (arguments[0] == "--help" || arguments[0] == "--version") {
        parsed.command = arguments[0] == "--help" ? CliCommand::Help : CliCommand::Version;
        return parsed;
    }
    if (arguments[0] != "calibrate" && arguments[0] != "plot")
        return usageError("unknown command " + arguments[0]);
    parsed.command = arguments[0] == "plot" ? CliCommand::Plot : CliCommand::Calibrate;
    const CliCommand command = parsed.command;
    for (std::size_t k = 1; k < arguments.size(); ++k) {
        if (auto error = takeArgument(arguments, k, parsed))
            return usageError(std::move(*error));
        if (parsed.command != command)
            return parsed;
    }
    return checkCalibrateOptions(std::move(parsed));
}

std::string UsageText() {
    return "Usage: morvane-cli calibrate [OPTIONS] DATAFILE\n"
           "       morvane-cli plot [OPTIONS] [PLOT OPTIONS] --out FILE.svg DATAFILE\n"
           "       morvane-cli --help | --version\n"
           "\n"
           "Calibrates the working thromboplastin of a data file against the reference one\n"
           "and prints the results report (lines ending in CR LF).\n"
           "\n"
           "Options:\n"
           "  --lower-inr TEXT  lower INR limit (default 1.5)\n"
           "  --upper-inr TEXT  upper INR limit (default 4.5)\n"
           "  --sd-limit TEXT   SD limit about the calibration line (default 3)\n"
           "  --isi TEXT        ISI of the reference preparation (default: the file's)\n"
           "  --se-isi TEXT     its standard error (default: the file's)\n"
           "  --ci LEVEL        confidence level: 90%, 95% (default) or 99%\n"
           "  --tomenson        add the Tomenson-corrected INR column to the table\n"
           "  --id TEXT         calibration identifier (default: the file's name)\n"
           "  --tcrit PATH      critical t table (default: tcrit.txt beside the program,\n"
           "                    else ../share/morvane/tcrit.txt from the program's folder)\n"
           "  --json            print settings, results and messages as JSON instead\n"
           "\n"
           "Plot options (plot calibrates as calibrate does, then writes the plot as SVG):\n"
           "  --out FILE        the SVG file to write\n"
           "  --title TEXT      plot title\n"
           "  --x-label TEXT    x axis title (default: the working preparation's name)\n"
           "  --y-label TEXT    y axis title (default: the reference preparation's name)\n"
           "  --no-legend       leave the legend out\n"
           "  --no-abnormal-line  leave the abnormal-only line out\n"
           "\n"
           "Other options:\n"
           "  --help            print this text\n"
           "  --version         print the program's version\n"
           "\n"
           "Messages go to standard error as \"TITLE: TEXT\". Exit status: 0 when the report\n"
           "was printed (plot: the SVG file was written), 1 when the data file or the table\n"
           "could not be read, the data were refused, or no plot could be drawn or written,\n"
           "2 for a wrong command line.\n"
           "SOURCE_DATE_EPOCH (seconds, UTC), when set, gives the report's date and time.\n";
}

fs::path DefaultTCritPath(const fs::path& executableFolder) {
    const fs::path beside = executableFolder / "tcrit.txt";
    const fs::path installed = executableFolder / ".." / "share" / "morvane" / "tcrit.txt";
    std::error_code error;
    if (!fs::exists(beside, error) && fs::exists(installed, error))
        return installed;
    return beside;
}

fs::path ExecutableFolder(const char* argv0) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    const fs::path given = fs::absolute(fs::path(argv0 ? argv0 : ""), error);
    return error ? fs::path(".") : given.parent_path();
}

int RunCli(const std::vector<std::string>& arguments, const fs::path& executableFolder,
           std::FILE* out, std::FILE* err) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    switch (parsed.command) {
    case CliCommand::Help:
        write(out, UsageText());
        return kExitReported;
    case CliCommand::Version:
        write(out, std::string("morvane-cli ") + kProgramVersion + " (" + kVersionCaption + ")\n");
        return kExitReported;
    case CliCommand::UsageError:
        write(err, "morvane-cli: " + parsed.error + "\n\n" + UsageText());
        return kExitUsage;
    case CliCommand::Plot:
        return plot(parsed.options, executableFolder, err);
    case CliCommand::Calibrate:
        break;
    }
    return calibrate(parsed.options, executableFolder, out, err);
}

} // namespace morvane
