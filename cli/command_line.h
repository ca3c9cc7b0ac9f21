#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvane {

// What a command of morvane-cli was asked to do. Each optional text replaces the text of one
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

    // The lot register: where it is (a file or a postgresql:// string; the desktop's default
    // register when not given), and whether calibrate records the run it prints.
    std::optional<std::string> registerLocation;
    bool record = false;
    // `register list` and `register show` only.
    std::string listFormat = "text"; // text, csv or json
    std::string recordId;

    // `morvane-cli plot` only: where the SVG goes and what the plot options hold.
    std::string outFile;
    std::optional<std::string> title;  // PlotTitle
    std::optional<std::string> xLabel; // XAxisLabel
    std::optional<std::string> yLabel; // YAxisLabel
    bool noLegend = false;
    bool noAbnormalLine = false;
    bool showExcluded = false; // ShowExcludedSamples
};

enum class CliCommand {
    Calibrate,
    Plot,
    Checks,
    RegisterList,
    RegisterShow,
    RegisterExport,
    Help,
    Version,
    UsageError
};

struct ParsedCommandLine {
    CliCommand command = CliCommand::UsageError;
    CalibrateOptions options;
    std::string error; // for a usage error: what was wrong
};

// Reads the arguments that follow the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text printed by --help and after a usage error.
std::string UsageText();

} // namespace morvane
