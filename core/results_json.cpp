#include "results_json.h"

#include "json_text.h"

#include <cmath>
#include <optional>

namespace morvane {

namespace {

std::string jsonValue(const Value& value) {
    if (value.isEmpty())
        return "null";
    if (const auto number = value.number())
        return JsonNumber(*number);
    return JsonString(value.text());
}

std::string jsonFlags(const SampleFlags& flags, int count) {
    std::string out = "[";
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            out += ", ";
        out += flags[i] == 1 ? '1' : '0';
    }
    return out + "]";
}

// Collects "key": value members of one object, written one to a line.
class JsonObject {
public:
    explicit JsonObject(std::string indent) : mIndent(std::move(indent)) {}

    JsonObject& add(std::string_view key, std::string json) {
        mText += mText.empty() ? "{\n" : ",\n";
        mText += mIndent + "  " + JsonString(key) + ": " + json;
        return *this;
    }
    JsonObject& add(std::string_view key, const Value& value) { return add(key, jsonValue(value)); }
    JsonObject& add(std::string_view key, int count) { return add(key, std::to_string(count)); }

    std::string close() const { return mText.empty() ? "{}" : mText + "\n" + mIndent + "}"; }

private:
    std::string mIndent;
    std::string mText;
};

std::string settingsJson(const CalibrationDataSet& data, const CalibrationSettings& settings) {
    JsonObject object("  ");
    object.add("LowerINR", settings.LowerINR)
        .add("UpperINR", settings.UpperINR)
        .add("SDLimit", JsonNumber(settings.SDLimit))
        .add("ISIReference", data.ISIReference)
        .add("SEISIReference", data.SEISIReference)
        .add("ConfidenceLevel", JsonString(settings.ConfidenceLevel))
        .add("TomensonCorrection", std::string(settings.TomensonCorrection ? "true" : "false"));
    return object.close();
}

std::string resultsJson(const CalibrationDataSet& data, const CalibrationResults& r,
                        const Value& shownCVISIWorking) {
    JsonObject object("  ");
    object.add("SampleCount", data.SampleCount)
        .add("AbnormalCount", r.AbnormalCount)
        .add("NormalCount", r.NormalCount)
        .add("INRExcluded", jsonFlags(r.INRExcluded, data.SampleCount))
        .add("SDExcluded", jsonFlags(r.SDExcluded, data.SampleCount))
        .add("INRExcludedCount", r.INRExcludedCount)
        .add("SDExcludedCount", r.SDExcludedCount)
        .add("AbnormalsUsed", r.AbnormalsUsed)
        .add("NormalsUsed", r.NormalsUsed)
        .add("CalibrationFailed", r.CalibrationFailed ? 1 : 0)
        .add("MNPTReference", r.MNPTReference);
    const std::pair<const char*, const Value*> statistics[] = {
        {"InterceptAll", &r.InterceptAll},
        {"SlopeAll", &r.SlopeAll},
        {"SEInterceptAll", &r.SEInterceptAll},
        {"SESlopeAll", &r.SESlopeAll},
        {"SDAboutLineAll", &r.SDAboutLineAll},
        {"SlopeCILowAll", &r.SlopeCILowAll},
        {"SlopeCIHighAll", &r.SlopeCIHighAll},
        {"InterceptAbnormal", &r.InterceptAbnormal},
        {"SlopeAbnormal", &r.SlopeAbnormal},
        {"SEInterceptAbnormal", &r.SEInterceptAbnormal},
        {"SESlopeAbnormal", &r.SESlopeAbnormal},
        {"SDAboutLineAbnormal", &r.SDAboutLineAbnormal},
        {"CorrInterceptSlopeAbnormal", &r.CorrInterceptSlopeAbnormal},
        {"SlopeCILowAbnormal", &r.SlopeCILowAbnormal},
        {"SlopeCIHighAbnormal", &r.SlopeCIHighAbnormal},
        {"ISIWorking", &r.ISIWorking},
        {"SEISIWorking", &r.SEISIWorking},
        {"CVISIWorking", &shownCVISIWorking},
        {"Displacement", &r.Displacement},
        {"DisplacementT", &r.DisplacementT},
        {"DisplacementDF", &r.DisplacementDF},
        {"DisplacementPLow", &r.DisplacementPLow},
        {"DisplacementPHigh", &r.DisplacementPHigh},
        {"DisplacementCILow", &r.DisplacementCILow},
        {"DisplacementCIHigh", &r.DisplacementCIHigh},
        {"MNPTWorkingUsed", &r.MNPTWorkingUsed},
        {"MNPTReferenceUsed", &r.MNPTReferenceUsed},
    };
    for (const auto& [key, value] : statistics)
        object.add(key, *value);
    return object.close();
}

std::string messagesJson(const std::vector<Message>& messages) {
    if (messages.empty())
        return "[]";
    std::string out = "[";
    for (std::size_t k = 0; k < messages.size(); ++k) {
        out += k == 0 ? "\n" : ",\n";
        out += "    {\"title\": " + JsonString(messages[k].shownTitle()) +
               ", \"text\": " + JsonString(messages[k].text) + "}";
    }
    return out + "\n  ]";
}

std::string jsonOptional(const std::optional<double>& value) {
    return value ? JsonNumber(*value) : "null";
}

std::string jsonBool(const std::optional<bool>& value) {
    if (!value)
        return "null";
    return *value ? "true" : "false";
}

std::string checksJson(const CalibrationChecks& c) {
    JsonObject object("  ");
    object.add("SlopeCV", jsonOptional(c.SlopeCV))
        .add("SlopeCVLimit", JsonNumber(kSlopeCVLimit))
        .add("SlopeCVPass", jsonBool(c.SlopeCVPass))
        .add("NormalsInDataSet", c.NormalsInDataSet)
        .add("AbnormalsInDataSet", c.AbnormalsInDataSet)
        .add("NormalsUsed", c.NormalsUsed)
        .add("AbnormalsUsed", c.AbnormalsUsed)
        .add("DesignPass", jsonBool(c.DesignPass))
        .add("INRExcludedCount", c.INRExcludedCount)
        .add("SDExcludedCount", c.SDExcludedCount)
        .add("DisplacementSignificant", jsonBool(c.DisplacementSignificant))
        .add("INRDeviationAt2", jsonOptional(c.INRDeviationAt2))
        .add("INRDeviationAt4_5", jsonOptional(c.INRDeviationAt4_5))
        .add("INRDeviationPass", jsonBool(c.INRDeviationPass))
        .add("MeetsCriteria", jsonBool(c.MeetsCriteria));
    return object.close();
}

} // namespace

std::string ResultsToJson(const CalibrationDataSet& data, const CalibrationSettings& settings,
                          const CalibrationResults& results, const ShownResults& shown,
                          const std::vector<Message>& messages, const CalibrationChecks& checks) {
    std::string out = "{\n";
    out += "  \"settings\": " + settingsJson(data, settings) + ",\n";
    out += "  \"results\": " + resultsJson(data, results, shown.results.CVISIWorking) + ",\n";
    out += "  \"messages\": " + messagesJson(messages) + ",\n";
    out += "  \"checks\": " + checksJson(checks) + "\n";
    out += "}\n";
    return out;
}

} // namespace morvane
