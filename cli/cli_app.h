#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// Exit statuses of morvane-cli.
inline constexpr int kExitReported = 0; // the report (or JSON) was printed
inline constexpr int kExitStopped = 1;  // the data file was unreadable or an input check stopped
inline constexpr int kExitUsage = 2;    // the command line was wrong

// What `morvane-cli calibrate` was asked to do. Each optional text replaces the text of one
// editor field before the run.
struct CalibrateOptions {
    std::string dataFile;
    std::optional<std::string> lowerINR;  // txtLowerINR
    std::optional<std::string> upperINR;  // txtUpperINR
    std::optional<std::string> sdLimit;   // txtSDReg
    std::optional<std::string> isi;       // txtISI
    std::optional<std::string> seIsi;     // txtSEISI
    std::optional<std::string> ci;        // ComboCI: "90%", "95%" or "99%"
    std::optional<std::string> id;        // txtid
    std::optional<std::string> tcritPath; // the critical t table file
    bool tomenson = false;                // ticks Chkbox1
    bool json = false;

    // `morvane-cli plot` only: where the SVG goes and what the plot options hold.
    std::string outFile;
    std::optional<std::string> title;  // PlotTitle
    std::optional<std::string> xLabel; // XAxisLabel
    std::optional<std::string> yLabel; // YAxisLabel
    bool noLegend = false;
    bool noAbnormalLine = false;
    bool showExcluded = false; // ShowExcludedSamples
};

enum class CliCommand { Calibrate, Plot, Help, Version, UsageError };

struct ParsedCommandLine {
    CliCommand command = CliCommand::UsageError;
    CalibrateOptions options;
    std::string error; // for a usage error: what was wrong
};

// Reads the arguments that follow the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text printed by --help and after a usage error.
std::string UsageText();

// The critical t table used when --tcrit is not given: tcrit.txt beside the executable, else
// ../share/morvane/tcrit.txt from the executable's folder; the first when neither exists.
std::filesystem::path DefaultTCritPath(const std::filesystem::path& executableFolder);

// The folder of the running executable.
std::filesystem::path ExecutableFolder(const char* argv0);

// Runs morvane-cli: the report (or the JSON document) goes to out, every message to err as a
// "TITLE: TEXT" line the moment it is shown. Returns the exit status. The C streams are used, not
// the iostreams, so that the program does not set up the standard iostream objects at start.
int RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& executableFolder,
           std::FILE* out, std::FILE* err);

} // namespace morvane
