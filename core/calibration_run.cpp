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

void validateINRLimits(const EditorFields& fields, CalibrationSettings& settings,
                       FieldCorrections& corrections, MessageSink& sink) {
    const auto lower = ParseNumber(fields.txtLowerINR);
    const auto upper = ParseNumber(fields.txtUpperINR);
    const bool valid =
        lower && upper && *lower >= 0 && *upper <= defaults::kHighestUpperINR && *lower <= *upper;
    if (valid) {
        settings.LowerINR = Value(fields.txtLowerINR);
        settings.UpperINR = Value(fields.txtUpperINR);
        return;
    }
    sink.show(parameterMessage(
        "INR limits",
        "Valid INR limits have not been entered. Vantel recommended limits will be used for this "
        "calibration (Lower INR=1.5; Upper INR=4.5)."));
    settings.LowerINR = Value(defaults::kLowerINR);
    settings.UpperINR = Value(defaults::kUpperINR);
    auto lowerNow = lower;
    if (!lower || *lower < 0 || greater(lower, upper)) {
        corrections.txtLowerINR = defaults::kLowerINRText;
        lowerNow = defaults::kLowerINR;
    }
    if (!upper || *upper > defaults::kHighestUpperINR || greater(lowerNow, upper))
        corrections.txtUpperINR = defaults::kUpperINRText;
}

void validateSDLimit(const EditorFields& fields, CalibrationSettings& settings,
                     FieldCorrections& corrections, MessageSink& sink) {
    const auto limit = ParseNumber(fields.txtSDReg);
    if (limit && *limit > 0) {
        settings.SDLimit = *limit;
        return;
    }
    sink.show(parameterMessage(
        "Calibration Line Limits",
        "A valid calibration line limit not entered. Vantel recommended limit will be used for "
        "this calibration (Standard Deviation Limit=3.0)."));
    settings.SDLimit = defaults::kSDLimit;
    corrections.txtSDReg = FormatGeneral(defaults::kSDLimit);
}

// One ISI entry: a valid text is kept as typed; otherwise the message is shown, the default
// number is stored and the field is corrected to the default's text.
struct ISIEntryRule {
    const char* title;
    const char* text;
    bool zeroIsValid;
    double defaultValue;
    const char* defaultText;
};

void validateISIEntry(const std::string& field, Value& stored,
                      std::optional<std::string>& correction, const ISIEntryRule& rule,
                      MessageSink& sink) {
    const auto number = ParseNumber(field);
    if (number && (*number > 0 || (rule.zeroIsValid && *number == 0))) {
        stored = Value(field);
        return;
    }
    sink.show(parameterMessage(rule.title, rule.text));
    stored = Value(rule.defaultValue);
    correction = rule.defaultText;
}

void validateReferenceISI(const EditorFields& fields, CalibrationDataSet& data,
                          FieldCorrections& corrections, MessageSink& sink) {
    validateISIEntry(fields.txtISI, data.ISIReference, corrections.txtISI,
                     {"ISI not entered",
                      "Valid ISI of reference reagent not entered. ISI=1 will be used for this "
                      "calibration.",
                      false, defaults::kReferenceISI, defaults::kReferenceISIText},
                     sink);
    validateISIEntry(fields.txtSEISI, data.SEISIReference, corrections.txtSEISI,
                     {"SE(ISI) not entered",
                      "Valid SE(ISI) of reference reagent not entered. SEISI=0 will be used for "
                      "this calibration.",
                      true, defaults::kReferenceSEISI, defaults::kReferenceSEISIText},
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
    if (results.CalibrationFailed)
        return;
    FitAbnormalOnlyLine(settings, calibration.tcrit, results);
    ApplyTomensonCorrection(settings, calibration.tcrit, results);
    ComputeISI(data, results);
}

} // namespace

void FieldCorrections::applyTo(EditorFields& fields) const {
    const std::pair<const std::optional<std::string>*, std::string*> corrected[] = {
        {&txtid, &fields.txtid},
        {&txtLowerINR, &fields.txtLowerINR},
        {&txtUpperINR, &fields.txtUpperINR},
        {&txtSDReg, &fields.txtSDReg},
        {&txtISI, &fields.txtISI},
        {&txtSEISI, &fields.txtSEISI},
    };
    for (const auto& [correction, field] : corrected)
        if (correction->has_value())
            *field = **correction;
}

std::string WithIdentifierRule(std::string identifier) {
    if (identifier.find(".txt") == std::string::npos)
        identifier += ".txt";
    return identifier;
}

ProposedName ProposedFileName(const std::string& txtid, const std::string& suffix) {
    std::string identifier = WithIdentifierRule(txtid);
    std::string fileName = identifier.substr(0, identifier.find(".txt")) + suffix;
    return {std::move(identifier), std::move(fileName)};
}

RunResult PerformCalibrationRun(Calibration& calibration, const GridCells& grid,
                                const EditorFields& fields, MessageSink& sink) {
    if (!calibration.tcrit.loaded) {
        sink.show(Message{"Critical t Table",
                          calibration.tcrit.loadError +
                              " No calibration can be performed without the table.",
                          MessageIcon::Critical, MessageButtons::Ok});
        return {};
    }
    calibration.results.SDExcludedCount = 0;
    if (!readGrid(calibration, grid, sink))
        return {};
    SplitByTag(calibration.data, calibration.results);
    if (!checkSamples(calibration, sink))
        return {};
    RunResult run;
    FieldCorrections& corrections = run.corrections;
    if (std::string identifier = WithIdentifierRule(fields.txtid); identifier != fields.txtid)
        corrections.txtid = std::move(identifier);
    validateINRLimits(fields, calibration.settings, corrections, sink);
    validateSDLimit(fields, calibration.settings, corrections, sink);
    validateReferenceISI(fields, calibration.data, corrections, sink);
    calibration.settings.ConfidenceLevel = fields.ComboCI;
    calibration.settings.TomensonCorrection = fields.Chkbox1;
    runEngineSteps(calibration, sink);
    calibration.checks = ComputeCalibrationChecks(calibration.data, calibration.results);
    calibration.data.ReferencePreparationName = Value(fields.txtIRP);
    calibration.data.WorkingPreparationName = Value(fields.txtWRP);
    run.outcome =
        calibration.results.CalibrationFailed ? RunOutcome::FitFailed : RunOutcome::Calibrated;
    return run;
}

} // namespace morvane
