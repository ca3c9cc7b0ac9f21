#include "command_line.h"

#include <string_view>

namespace morvane {

namespace {

struct CommandName {
    const char* name;
    CliCommand command;
};

// The commands that calibrate a data file.
constexpr CommandName kCommands[] = {
    {"calibrate", CliCommand::Calibrate},
    {"plot", CliCommand::Plot},
    {"checks", CliCommand::Checks},
};

// The options that take no value: each sets its flag.
struct FlagOption {
    const char* name;
    bool CalibrateOptions::*flag;
};

constexpr FlagOption kFlagOptions[] = {
    {"--tomenson", &CalibrateOptions::tomenson},
    {"--json", &CalibrateOptions::json},
    {"--record", &CalibrateOptions::record},
    {"--no-legend", &CalibrateOptions::noLegend},
    {"--no-abnormal-line", &CalibrateOptions::noAbnormalLine},
    {"--show-excluded", &CalibrateOptions::showExcluded},
};

// The options that take a text, as "--name TEXT" or "--name=TEXT".
struct TextOption {
    const char* name;
    std::optional<std::string> CalibrateOptions::*field;
};

constexpr TextOption kTextOptions[] = {
    {"--lower-inr", &CalibrateOptions::lowerINR},
    {"--upper-inr", &CalibrateOptions::upperINR},
    {"--sd-limit", &CalibrateOptions::sdLimit},
    {"--isi", &CalibrateOptions::isi},
    {"--se-isi", &CalibrateOptions::seIsi},
    {"--ci", &CalibrateOptions::ci},
    {"--id", &CalibrateOptions::id},
    {"--tcrit", &CalibrateOptions::tcritPath},
    {"--register", &CalibrateOptions::registerLocation},
    {"--title", &CalibrateOptions::title},
    {"--x-label", &CalibrateOptions::xLabel},
    {"--y-label", &CalibrateOptions::yLabel},
};

bool isConfidenceLevel(const std::string& text) {
    return text == "90%" || text == "95%" || text == "99%";
}

bool* flagOption(CalibrateOptions& options, std::string_view name) {
    for (const FlagOption& option : kFlagOptions)
        if (name == option.name)
            return &(options.*option.flag);
    return nullptr;
}

// The field of the option that sets a text, or nothing for another argument.
std::optional<std::string>* textOption(CalibrateOptions& options, std::string_view name) {
    for (const TextOption& option : kTextOptions)
        if (name == option.name)
            return &(options.*option.field);
    return nullptr;
}

ParsedCommandLine usageError(std::string error) {
    ParsedCommandLine parsed;
    parsed.command = CliCommand::UsageError;
    parsed.error = std::move(error);
    return parsed;
}

// Takes the value of the option named `name` at index k: the text after its "=", else the next
// argument. Returns an error text, or nothing when the value was taken.
std::optional<std::string> takeValue(const std::vector<std::string>& arguments, std::size_t& k,
                                     const std::string& name, std::string& value) {
    const std::string& argument = arguments[k];
    if (argument.size() > name.size())
        value = argument.substr(name.size() + 1);
    else if (k + 1 < arguments.size())
        value = arguments[++k];
    else
        return "option " + name + " needs a value";
    return std::nullopt;
}

// Reads one argument of a calibrating command at index k, which it may advance past a value.
// Returns an error text, or nothing when the argument was taken.
std::optional<std::string> takeArgument(const std::vector<std::string>& arguments, std::size_t& k,
                                        ParsedCommandLine& parsed) {
    const std::string& argument = arguments[k];
    CalibrateOptions& options = parsed.options;
    if (argument == "--help" || argument == "--version") {
        parsed.command = argument == "--help" ? CliCommand::Help : CliCommand::Version;
        return std::nullopt;
    }
    if (bool* flag = flagOption(options, argument)) {
        *flag = true;
        return std::nullopt;
    }
    if (argument == "--out" || argument.starts_with("--out="))
        return takeValue(arguments, k, "--out", options.outFile);
    const std::string name = argument.substr(0, argument.find('='));
    if (auto* field = textOption(options, name)) {
        std::string value;
        auto error = takeValue(arguments, k, name, value);
        if (!error)
            *field = std::move(value);
        return error;
    }
    if (argument.size() > 1 && argument[0] == '-')
        return "unknown option " + argument;
    if (!options.dataFile.empty())
        return "only one data file can be calibrated at a time";
    options.dataFile = argument;
    return std::nullopt;
}

bool plotOptionGiven(const CalibrateOptions& options) {
    return !options.outFile.empty() || options.title || options.xLabel || options.yLabel ||
           options.noLegend || options.noAbnormalLine || options.showExcluded;
}

// The rules between the options and the command they were given to.
ParsedCommandLine checkOptions(ParsedCommandLine parsed) {
    const CalibrateOptions& options = parsed.options;
    const CliCommand command = parsed.command;
    if (command == CliCommand::Help || command == CliCommand::Version)
        return parsed;
    if (options.dataFile.empty())
        return usageError("no data file given");
    if (options.ci && !isConfidenceLevel(*options.ci))
        return usageError("--ci takes 90%, 95% or 99%, not \"" + *options.ci + "\"");
    if (command != CliCommand::Plot && plotOptionGiven(options))
        return usageError("the plot options belong to the plot command");
    if (command != CliCommand::Calibrate && options.json)
        return usageError("--json belongs to the calibrate command");
    if (command == CliCommand::Plot && options.outFile.empty())
        return usageError("the plot command needs --out FILE.svg");
    if (command != CliCommand::Calibrate && options.record)
        return usageError("--record belongs to the calibrate command");
    return parsed;
}

// The commands of the lot register: `register list|show|export`.
constexpr CommandName kRegisterCommands[] = {
    {"list", CliCommand::RegisterList},
    {"show", CliCommand::RegisterShow},
    {"export", CliCommand::RegisterExport},
};

bool isRecordId(const std::string& text) {
    return !text.empty() && text.size() < 19 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

// Reads one argument of a register command at index k, which it may advance past a value.
std::optional<std::string> takeRegisterArgument(const std::vector<std::string>& arguments,
                                                std::size_t& k, ParsedCommandLine& parsed) {
    const std::string& argument = arguments[k];
    CalibrateOptions& options = parsed.options;
    const std::string name = argument.substr(0, argument.find('='));
    if (name == "--register") {
        std::string value;
        auto error = takeValue(arguments, k, name, value);
        options.registerLocation = std::move(value);
        return error;
    }
    if (name == "--format" && parsed.command == CliCommand::RegisterList)
        return takeValue(arguments, k, name, options.listFormat);
    if (argument.size() > 1 && argument[0] == '-')
        return "unknown option " + argument + " for this register command";
    if (parsed.command != CliCommand::RegisterShow || !options.recordId.empty())
        return "unexpected argument " + argument;
    options.recordId = argument;
    return std::nullopt;
}

ParsedCommandLine parseRegisterCommand(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    for (const CommandName& command : kRegisterCommands)
        if (arguments.size() > 1 && arguments[1] == command.name)
            parsed.command = command.command;
    if (parsed.command == CliCommand::UsageError)
        return usageError("register takes list, show ID or export");
    for (std::size_t k = 2; k < arguments.size(); ++k)
        if (auto error = takeRegisterArgument(arguments, k, parsed))
            return usageError(std::move(*error));
    const std::string& format = parsed.options.listFormat;
    if (format != "text" && format != "csv" && format != "json")
        return usageError("--format takes text, csv or json, not \"" + format + "\"");
    if (parsed.command == CliCommand::RegisterShow && !isRecordId(parsed.options.recordId))
        return usageError("register show needs the id of a record");
    return parsed;
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
    if (arguments[0] == "register")
        return parseRegisterCommand(arguments);
    for (const CommandName& command : kCommands)
        if (arguments[0] == command.name)
            parsed.command = command.command;
    if (parsed.command == CliCommand::UsageError)
        return usageError("unknown command " + arguments[0]);
    const CliCommand command = parsed.command;
    for (std::size_t k = 1; k < arguments.size(); ++k) {
        if (auto error = takeArgument(arguments, k, parsed))
            return usageError(std::move(*error));
        if (parsed.command != command)
            return parsed;
    }
    return checkOptions(std::move(parsed));
}

std::string UsageText() {
    return "Usage: morvane-cli calibrate [OPTIONS] DATAFILE\n"
           "       morvane-cli plot [OPTIONS] [PLOT OPTIONS] --out FILE.svg DATAFILE\n"
           "       morvane-cli checks [OPTIONS] DATAFILE\n"
           "       morvane-cli register list [--format text|csv|json] [--register WHERE]\n"
           "       morvane-cli register show ID [--register WHERE]\n"
           "       morvane-cli register export [--register WHERE]\n"
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
           "  --json            print settings, results, messages and the guideline checks\n"
           "                    as JSON instead (calibrate only)\n"
           "  --record          keep the run in the lot register (calibrate only)\n"
           "  --register WHERE  the lot register: a file, or a postgresql:// connection\n"
           "                    string (default: the desktop program's register,\n"
           "                    $XDG_DATA_HOME/Morvane/register.sqlite)\n"
           "  --format FORMAT   register list: text (default), csv or json\n"
           "\n"
           "Plot options (plot calibrates as calibrate does, then writes the plot as SVG):\n"
           "  --out FILE        the SVG file to write\n"
           "  --title TEXT      plot title\n"
           "  --x-label TEXT    x axis title (default: the working preparation's name)\n"
           "  --y-label TEXT    y axis title (default: the reference preparation's name)\n"
           "  --no-legend       leave the legend out\n"
           "  --no-abnormal-line  leave the abnormal-only line out\n"
           "  --show-excluded   draw the samples the limits left out, in grey\n"
           "\n"
           "checks calibrates as calibrate does, then prints the guideline checks (slope CV,\n"
           "design, exclusions, Tomenson's displacement, % INR deviation) as a table.\n"
           "\n"
           "register list prints the records of the lot register (id, date, working\n"
           "preparation, identifier, ISI +/- SE, MNPT, verdict); register show prints the\n"
           "report of one record as calibrate printed it; register export prints every\n"
           "record as one JSON object per line.\n"
           "\n"
           "Other options:\n"
           "  --help            print this text\n"
           "  --version         print the program's version\n"
           "\n"
           "Messages go to standard error as \"TITLE: TEXT\". Exit status: 0 when the report\n"
           "was printed (plot: the SVG file was written), 1 when the data file or the table\n"
           "could not be read, the data were refused, no plot could be drawn or written, or\n"
           "the register refused (or holds no such record), 2 for a wrong command line, and\n"
           "for checks 3 when the calibration does not meet the guideline criteria or could\n"
           "not be judged.\n"
           "SOURCE_DATE_EPOCH (seconds, UTC), when set, gives the report's date and time.\n";
}

} // namespace morvane
