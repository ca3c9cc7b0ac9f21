#pragma once

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
};

enum class RunOutcome {
    Stopped,    // an input check stopped the run: no report, nothing after the check changed
    Calibrated, // the report follows with both lines, Tomenson's correction and the ISI
    FitFailed,  // too few samples after the exclusions: the report follows without the lines
};

// What "Calibrate" does: reads the grid, checks the data, validates the parameter fields (each
// invalid one gets its message, its default and, where the rules say so, its field reset in
// `fields`), fills the settings and runs the engine steps in their fixed order. The report is
// built by the caller when the outcome is not Stopped.
RunOutcome PerformCalibrationRun(Calibration& calibration, const GridCells& grid,
                                 EditorFields& fields, MessageSink& sink);

// The calibration identifier rule: ".txt" is appended unless the text already contains it.
void ApplyIdentifierRule(std::string& identifier);

} // namespace morvane
