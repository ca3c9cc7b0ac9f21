#include "calibration_run.h"

#include "engine_steps.h"
#include "grid_conversion.h"

#include <optional>

namespace morvane {

namespace {

Message parameterMessage(const char* title, const char* text) {
    return Message{title, text, MessageIcon::Critical, MessageButtons::Ok};
}

// Compares two entries that may not be numbers: a missing number compares as neither greater
// nor smaller.
bool greater(const std::optional<double>& left, const std::optional<double>& right) {
    return left && right && *left > *right;
}

// The data checks after the grid was read; false when the run must stop.
bool checkSamples(const Calibration& calibration, MessageSink& sink) {
    const CalibrationResults& results = calibration.results;
    if (results.AbnormalCount < 3 || results.NormalCount < 2) {
        sink.show(DataErrorMessage(
            "There is either insufficient data to perform the calibration (at least 3 abnormal "
            "samples and 2 normals are required) or abnormal/normal data has been tagged "
            "incorrectly"));
        return false;
    }
    // A PT must be positive to have a logarithm; such data is refused here with its row rather
    // than left to fail silently inside the statistics.
    const CalibrationDataSet& data = calibration.data;
    for (int row = 1; row <= data.SampleCount; ++row) {
        if (data.ReferencePT[row] <= 0.0 || data.WorkingPT[row] <= 0.0) {
            sink.show(DataErrorMessage("Prothrombin times must be greater than zero (row " +
                                       std::to_string(row) + ")."));
            return false;
        }
    }
    return true;
}

void validateINRLimits(EditorFields& fields, CalibrationSettings& settings, MessageSink& sink) {
    const auto lower = ParseNumber(fields.txtLowerINR);
    const auto upper = ParseNumber(fields.txtUpperINR);
    const bool valid = lower && upper && *lower >= 0 && *upper <= 99 && *lower <= *upper;
    if (valid) {
        settings.LowerINR = Value(fields.txtLowerINR);
        settings.UpperINR = Value(fields.txtUpperINR);
        return;
    }
    sink.show(parameterMessage(
        "INR limits",
        "Valid INR limits have not been entered. Vantel recommended limits will be used for this "
        "calibration (Lower INR=1.5; Upper INR=4.5)."));
    settings.LowerINR = Value(1.5);
    settings.UpperINR = Value(4.5);
    if (!lower || *lower < 0 || greater(lower, upper))
        fields.txtLowerINR = "1.5";
    const auto lowerNow = ParseNumber(fields.txtLowerINR);
    if (!upper || *upper > 99 || greater(lowerNow, upper))
        fields.txtUpperINR = "4.5";
}

void validateSDLimit(EditorFields& fields, CalibrationSettings& settings, MessageSink& sink) {
    const auto limit = ParseNumber(fields.txtSDReg);
    if (limit && *limit > 0) {
        settings.SDLimit = *limit;
        return;
    }
    sink.show(parameterMessage(
        "Calibration Line Limits",
        "A valid calibration line limit not entered. Vantel recommended limit will be used for "
        "this calibration (Standard Deviation Limit=3.0)."));
    settings.SDLimit = 3.0;
    fields.txtSDReg = "3";
}

// One ISI entry: a valid text is kept as typed; otherwise the message is shown, the default
// number is stored and the field shows the default's text.
struct ISIEntryRule {
    const char* title;
    const char* text;
    bool zeroIsValid;
    double defaultValue;
    const char* defaultText;
};

void validateISIEntry(std::string& field, Value& stored, const ISIEntryRule& rule,
                      MessageSink& sink) {
    const auto number = ParseNumber(field);
    if (number && (*number > 0 || (rule.zeroIsValid && *number == 0))) {
        stored = Value(field);
        return;
    }
    sink.show(parameterMessage(rule.title, rule.text));
    stored = Value(rule.defaultValue);
    field = rule.defaultText;
}

void validateReferenceISI(EditorFields& fields, CalibrationDataSet& data, MessageSink& sink) {
    validateISIEntry(fields.txtISI, data.ISIReference,
                     {"ISI not entered",
                      "Valid ISI of reference reagent not entered. ISI=1 will be used for this "
                      "calibration.",
                      false, 1.0, "1"},
                     sink);
    validateISIEntry(fields.txtSEISI, data.SEISIReference,
                     {"SE(ISI) not entered",
                      "Valid SE(ISI) of reference reagent not entered. SEISI=0 will be used for "
                      "this calibration.",
                      true, 0.0, "0"},
                     sink);
}

// Reads the grid into the data set; false (after its message) when the grid cannot be used.
bool readGrid(Calibration& calibration, const GridCells& grid, MessageSink& sink) {
    const GridReading reading = ReadDataFromGrid(grid, calibration.data);
    if (!CheckGridReading(reading, sink))
        return false;
    calibration.data.SampleCount = reading.tagLength;
    for (int i = 1; i <= reading.tagLength; ++i)
        calibration.results.SampleNo[i] = i;
    return true;
}

void runEngineSteps(Calibration& calibration, MessageSink& sink) {
    CalibrationDataSet& data = calibration.data;
    CalibrationSettings& settings = calibration.settings;
    CalibrationResults& results = calibration.results;
    MeanNormalPT(results);
    ExcludeByINR(data, settings, results);
    FitOrthogonalLine(data, settings, calibration.tcrit, results, sink);
    if (results.CalibrationFailed == 1)
        return;
    FitAbnormalOnlyLine(settings, calibration.tcrit, results);
    ApplyTomensonCorrection(settings, calibration.tcrit, results);
    ComputeISI(data, results);
}

} // namespace

void ApplyIdentifierRule(std::string& identifier) {
    if (identifier.find(".txt") == std::string::npos)
        identifier += ".txt";
}

std::string ProposedFileName(std::string& txtid, const std::string& suffix) {
    ApplyIdentifierRule(txtid);
    return txtid.substr(0, txtid.find(".txt")) + suffix;
}

RunOutcome PerformCalibrationRun(Calibration& calibration, const GridCells& grid,
                                 EditorFields& fields, MessageSink& sink) {
    if (!calibration.tcrit.loaded) {
        sink.show(Message{"Critical t Table",
                          calibration.tcrit.loadError +
                              " No calibration can be performed without the table.",
                          MessageIcon::Critical, MessageButtons::Ok});
        return RunOutcome::Stopped;
    }
    calibration.results.SDExcludedCount = 0;
    if (!readGrid(calibration, grid, sink))
        return RunOutcome::Stopped;
    SplitByTag(calibration.data, calibration.results);
    if (!checkSamples(calibration, sink))
        return RunOutcome::Stopped;
    ApplyIdentifierRule(fields.txtid);
    validateINRLimits(fields, calibration.settings, sink);
    validateSDLimit(fields, calibration.settings, sink);
    validateReferenceISI(fields, calibration.data, sink);
    calibration.settings.ConfidenceLevel = fields.ComboCI;
    calibration.settings.TomensonCorrection = fields.Chkbox1;
    runEngineSteps(calibration, sink);
    calibration.checks = ComputeCalibrationChecks(calibration.data, calibration.results);
    calibration.data.ReferencePreparationName = Value(fields.txtIRP);
    calibration.data.WorkingPreparationName = Value(fields.txtWRP);
    return calibration.results.CalibrationFailed == 1 ? RunOutcome::FitFailed
                                                      : RunOutcome::Calibrated;
}

} // namespace morvane
