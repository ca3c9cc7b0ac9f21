#pragma once

#include "calibration_checks.h"
#include "calibration_records.h"
#include "critical_t_table.h"
#include "message.h"

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

// What "Calibrate" does: reads the grid, checks the data, validates the parameter fields (each
// invalid one gets its message, its default and, where the rules say so, its field reset in
// `fields`), fills the settings, runs the engine steps in their fixed order and judges the
// results against the guideline. The report is built by the caller when the outcome is not
// Stopped.
RunOutcome PerformCalibrationRun(Calibration& calibration, const GridCells& grid,
                                 EditorFields& fields, MessageSink& sink);

// The calibration identifier rule: ".txt" is appended unless the text already contains it.
void ApplyIdentifierRule(std::string& identifier);

// The file name proposed when saving results ("_results") or the plot ("_plot"): applies the
// identifier rule to txtid, then takes it up to its first ".txt" and appends the suffix, so
// "dataset1.txt" proposes "dataset1_results" and "a.txt.b" proposes "a_results".
std::string ProposedFileName(std::string& txtid, const std::string& suffix);

} // namespace morvane
