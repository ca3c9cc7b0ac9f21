#include "calibration_run.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

const char* kInsufficient =
    "There is either insufficient data to perform the calibration (at least 3 abnormal samples "
    "and 2 normals are required) or abnormal/normal data has been tagged incorrectly";
Message ParameterMessage(const char* title, const char* text) {
    return {title, text, MessageIcon::Critical, MessageButtons::Ok};
}
const Message kINRMessage = ParameterMessage(
    "INR limits", "Valid INR limits have not been entered. Vantel recommended limits will be used "
                  "for this calibration (Lower INR=1.5; Upper INR=4.5).");
const Message kSDMessage = ParameterMessage(
    "Calibration Line Limits", "A valid calibration line limit not entered. Vantel recommended "
                               "limit will be used for this calibration (Standard Deviation "
                               "Limit=3.0).");
const Message kISIMessage = ParameterMessage(
    "ISI not entered",
    "Valid ISI of reference reagent not entered. ISI=1 will be used for this calibration.");
const Message kSEISIMessage = ParameterMessage(
    "SE(ISI) not entered",
    "Valid SE(ISI) of reference reagent not entered. SEISI=0 will be used for this calibration.");

struct CalibrationRunTest : ::testing::Test {
    Calibration calibration{{}, {}, {}, testing::ShippedTable()};
    EditorFields fields;
    RecordingMessageSink sink;
    GridCells grid = testing::GridOf(testing::WorkedExample());

    // Runs as "Calibrate" does and writes the run's corrections into the fields.
    RunOutcome run() {
        const RunResult result = PerformCalibrationRun(calibration, grid, fields, sink);
        result.corrections.applyTo(fields);
        return result.outcome;
    }
};

TEST_F(CalibrationRunTest, DataChecksStopTheRunWithTheirMessage) {
    const struct {
        const char* name;
        std::vector<std::tuple<int, int, const char*>> cells; // row, column, text
        std::string message;
    } cases[] = {
        // clang-format off
        {"letters", {{2, 2, "13,2"}}, "Data type mis-match error"},
        {"short y column", {{6, 1, "Abnormal"}, {6, 3, "50"}},
         "There are missing observations in one or more columns"},
        {"two abnormal", {{5, 1, "Normal"}}, kInsufficient},
        {"lower-case tag counts as normal", {{3, 1, "abnormal"}}, kInsufficient},
        {"PT of zero", {{4, 3, "0"}}, "Prothrombin times must be greater than zero (row 4)."},
        // clang-format on
    };
    for (const auto& c : cases) {
        grid = testing::GridOf(testing::WorkedExample());
        for (const auto& [row, column, text] : c.cells)
            grid.at(row, column) = text;
        sink.messages.clear();
        calibration.results.SlopeAll = Value("earlier");
        fields.txtid = "run5";
        fields.txtLowerINR = "-1";
        EXPECT_EQ(run(), RunOutcome::Stopped) << c.name;
        EXPECT_EQ(sink.messages, std::vector<Message>{DataErrorMessage(c.message)}) << c.name;
        EXPECT_EQ(calibration.results.SlopeAll, Value("earlier")) << c.name;
        EXPECT_EQ(fields.txtid, "run5") << c.name << ": nothing after the check changed";
        EXPECT_EQ(fields.txtLowerINR, "-1") << c.name;
    }
    calibration.tcrit = {}; // a table that was never read
    sink.messages.clear();
    EXPECT_EQ(run(), RunOutcome::Stopped);
    EXPECT_EQ(sink.messages.at(0).title, "Critical t Table");
}

TEST_F(CalibrationRunTest, INRLimitsAreCheckedAsNumbersAndResetAsTheRulesSay) {
    const struct {
        const char *lower, *upper;
        bool message;
        const char *lowerShown, *upperShown;
    } cases[] = {
        {"2", "10", false, "2", "10"},       {"0", "99", false, "0", "99"},
        {"3", "3", false, "3", "3"},         {"-1", "4", true, "1.5", "4"},
        {"1.5", "99.5", true, "1.5", "4.5"}, {"5", "4", true, "1.5", "4"},
        {"5", "1", true, "1.5", "4.5"},      {"", "4.5", true, "1.5", "4.5"},
        {"1.5", "high", true, "1.5", "4.5"}, {"100", "100", true, "100", "4.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lower) + " to " + c.upper);
        sink.messages.clear();
        fields.txtLowerINR = c.lower;
        fields.txtUpperINR = c.upper;
        run();
        EXPECT_EQ(sink.messages.size() == 1 && sink.messages[0] == kINRMessage, c.message);
        EXPECT_EQ(fields.txtLowerINR, c.lowerShown);
        EXPECT_EQ(fields.txtUpperINR, c.upperShown);
        EXPECT_EQ(calibration.settings.LowerINR, c.message ? Value(1.5) : Value(c.lower));
        EXPECT_EQ(calibration.settings.UpperINR, c.message ? Value(4.5) : Value(c.upper));
    }
}

// Each invalid entry is replaced by its default, shown in its field; the messages come in the
// order of the fields. A standard error of zero is valid, a limit or ISI of zero is not.
TEST_F(CalibrationRunTest, InvalidParametersGetTheirDefaultsAndMessagesInOrder) {
    const struct {
        const char *lower, *sd, *isi, *se;
        std::vector<Message> messages;
        const char *sdShown, *isiShown, *seShown;
    } cases[] = {
        // clang-format off
        {"x", "-2", "0", "-0.1", {kINRMessage, kSDMessage, kISIMessage, kSEISIMessage},
         "3", "1", "0"},
        {"1.5", "0", "", "0", {kSDMessage, kISIMessage}, "3", "1", "0"},
        {"1.5", "three", "0.9", "0.02", {kSDMessage}, "3", "0.9", "0.02"},
        {"1.5", "2.5", "abc", "x", {kISIMessage, kSEISIMessage}, "2.5", "1", "0"},
        // clang-format on
    };
    for (const auto& c : cases) {
        fields.txtLowerINR = c.lower;
        fields.txtSDReg = c.sd;
        fields.txtISI = c.isi;
        fields.txtSEISI = c.se;
        sink.messages.clear();
        run();
        EXPECT_EQ(sink.messages, c.messages) << c.sd << " " << c.isi << " " << c.se;
        EXPECT_EQ(fields.txtSDReg + " " + fields.txtISI + " " + fields.txtSEISI,
                  std::string(c.sdShown) + " " + c.isiShown + " " + c.seShown);
        EXPECT_EQ(calibration.settings.SDLimit, ParseNumber(c.sdShown));
        EXPECT_EQ(calibration.data.ISIReference.number(), ParseNumber(c.isiShown));
        EXPECT_EQ(calibration.data.SEISIReference.number(), ParseNumber(c.seShown));
    }
}

TEST_F(CalibrationRunTest, TheIdentifierGainsTxtUnlessItContainsIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"run5", "run5.txt"}, {"run5.txt", "run5.txt"}, {"run5.TXT", "run5.TXT.txt"}};
    for (const auto& [typed, shown] : cases) {
        fields.txtid = typed;
        run();
        EXPECT_EQ(fields.txtid, shown);
    }
    const ProposedName fromRule = ProposedFileName("run5", "_plot");
    EXPECT_EQ(fromRule.identifier + " " + fromRule.fileName, "run5.txt run5_plot");
    const ProposedName cut = ProposedFileName("a.txt.b", "_results");
    EXPECT_EQ(cut.identifier + " " + cut.fileName, "a.txt.b a_results");
}

} // namespace
} // namespace morvane
