#pragma once

#include "calibration_run.h"
#include "data_file.h"
#include "message.h"
#include "plot_options.h"
#include "report_header.h"
#include "report_rounding.h"
#include "report_statements.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane {

// What a run that reached the engine leaves to be shown: its outcome, the results rounded for
// showing, and the report text.
struct ShownRun {
    RunOutcome outcome = RunOutcome::Calibrated;
    ShownResults shown;
    std::string reportText;
};

// One calibration session, as the desktop program and morvane-cli hold it: the calibration
// records, the texts of the editor's fields, the plot options, the current file name and the
// last run. Open, Calibrate and Save are sequenced here and nowhere else; the front ends move
// texts between these records and their windows or options.
class CalibrationSession {
public:
    // A session with an empty data set, the editor's start-up texts and the designed plot
    // options. The critical t table is read separately.
    CalibrationSession();

    // Reads the critical t table; false (the table not loaded, its reason kept) on failure.
    bool loadCriticalTTable(const std::string& path);

    // File > New and start-up: the data set emptied with its placeholders, the editor's designed
    // texts with the limit fields reset, and the identifier as the current file name. The last
    // run is forgotten.
    void newDataSet();

    // File > Open once the file is chosen: reads the data file at path (its messages go to the
    // sink), gives the editor fields the file's header with the file's name (without its folder)
    // as the identifier, and takes the axis titles from the preparation names. The current file
    // name becomes path. The last run stays until the next one.
    FileReading openDataFile(const std::string& path, MessageSink& sink);

    // "Calibrate": runs the calibration on the grid with the editor fields, writes the run's
    // corrections into the fields and, unless an input check stopped it, makes the shown
    // results and the report for the moment given. A stopped run keeps the last run as it was.
    RunOutcome calibrate(const GridCells& grid, const ReportDateTime& moment, MessageSink& sink);

    // The last run that reached the engine, if any since the data set was last made new.
    const std::optional<ShownRun>& lastRun() const { return mLastRun; }

    // The guideline checks of the last run, judged on the unrounded results.
    const CalibrationChecks& checks() const { return calibration.checks; }

    // The results as computed (not rounded) as a JSON document with the messages given.
    std::string resultsJson(const std::vector<Message>& messages) const;

    // The printed variant of the last run's report, with the editor's fields and the header
    // as they stand when printing starts.
    ReportStatements printedReport(const EditorFields& editor, const ReportHeader& header) const;

    // The last run's plot as an SVG document of width x height pixels.
    std::string plotSvg(int width, int height) const;

    // Save Data As once the file is chosen: saves the grid and the editor's header fields to
    // path; true when saved.
    bool saveDataFile(const std::string& path, const GridCells& grid, MessageSink& sink);

    // The name proposed for saving with the suffix; the identifier rule is applied to the
    // identifier field on the way.
    std::string proposeFileName(const std::string& suffix);

    // The report header for the current file name at the moment given.
    ReportHeader reportHeader(const ReportDateTime& moment) const;

    Calibration calibration;
    EditorFields fields;
    PlotOptions plot;
    std::string currentFileName;

private:
    // The last run's shown results; before any run, the records rounded as a report would.
    ShownResults shownResults() const;

    std::optional<ShownRun> mLastRun;
};

} // namespace morvane
