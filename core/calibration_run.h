#pragma once

#include "calibration_checks.h"
#include "calibration_records.h"
#include "critical_t_table.h"
#include "message.h"

#include <optional>
#include <string>

namespace morvane {

// The records a program session keeps for its whole life.
struct Calibration {
    CalibrationDataSet data;
    CalibrationSettings settings;
    CalibrationResults results;
    CriticalTTable tcrit;
    CalibrationChecks checks{}; // judged from the results of the last run, before any rounding
};

enum class RunOutcome {
    Stopped,    // an input check stopped the run: no report, nothing after the check changed
    Calibrated, // the report follows with both lines, Tomenson's correction and the ISI
    FitFailed,  // too few samples after the exclusions: the report follows without the lines
};

// The texts a run puts into parameter fields whose entries it could not use; the caller writes
// them into the editor. A field the run left alone has no text here.
struct FieldCorrections {
    std::optional<std::string> txtid;
    std::optional<std::string> txtLowerINR;
    std::optional<std::string> txtUpperINR;
    std::optional<std::string> txtSDReg;
    std::optional<std::string> txtISI;
    std::optional<std::string> txtSEISI;

    void applyTo(EditorFields& fields) const;
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Stopped;
    FieldCorrections corrections;
};

// What "Calibrate" does: reads the grid, checks the data, validates the parameter fields (each
// invalid one gets its message, its default and, where the rules say so, a correction of its
// field), fills the settings, runs the engine steps in their fixed order and judges the results
// against the guideline. The report is built by the caller when the outcome is not Stopped.
RunResult PerformCalibrationRun(Calibration& calibration, const GridCells& grid,
                                const EditorFields& fields, MessageSink& sink);

// The calibration identifier rule: ".txt" is appended unless the text already contains it.
std::string WithIdentifierRule(std::string identifier);

// The file name proposed when saving results ("_results") or the plot ("_plot"), with the
// identifier the editor then shows: the identifier rule applied to txtid, and that identifier
// up to its first ".txt" with the suffix appended, so "dataset1.txt" proposes "dataset1_results"
// and "a.txt.b" proposes "a_results".
struct ProposedName {
    std::string identifier;
    std::string fileName;
};
ProposedName ProposedFileName(const std::string& txtid, const std::string& suffix);

} // namespace morvane
