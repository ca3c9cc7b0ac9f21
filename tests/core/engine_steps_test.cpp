#include "checked_math.h"
#include "engine_steps.h"
#include "grid_conversion.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace morvane {
namespace {

using testing::Sample;

double Num(const Value& value) {
    return value.number().value_or(NAN);
}

// A data set read from a grid of samples, split by tag, with the given settings.
struct EngineFixture : ::testing::Test {
    CalibrationDataSet data;
    CalibrationSettings settings;
    CalibrationResults results;
    RecordingMessageSink sink;

    void load(const std::vector<Sample>& samples, double isi = 1.0) {
        const GridReading reading = ReadDataFromGrid(testing::GridOf(samples), data);
        data.SampleCount = reading.tagLength;
        data.ISIReference = Value(isi);
        data.SEISIReference = Value(0.0);
        for (int i = 1; i <= data.SampleCount; ++i)
            results.SampleNo[i] = i;
        SplitByTag(data, results);
    }
    void runThroughFit(const CriticalTTable& table) {
        MeanNormalPT(results);
        ExcludeByINR(data, settings, results);
        FitOrthogonalLine(data, settings, table, results, sink);
    }
};

// Arithmetic that leaves the real numbers ends the step that meets it.
TEST(CheckedMath, EveryWayOutOfTheRealNumbersFails) {
    namespace c = checked;
    EXPECT_THROW(c::div(1, 0), c::ArithmeticFailure);
    EXPECT_THROW(c::log(0), c::ArithmeticFailure);
    EXPECT_THROW(c::sqrt(-1), c::ArithmeticFailure);
    EXPECT_THROW(c::exp(1000), c::ArithmeticFailure);
    EXPECT_THROW(c::pow(-8, 1.0 / 3), c::ArithmeticFailure);
    EXPECT_THROW(c::pow(0, -1), c::ArithmeticFailure);
    EXPECT_THROW(c::number(Value("x")), c::ArithmeticFailure);
    EXPECT_EQ(c::pow(-2, 3), -8);
}

// The worked example's statistics are checked against bc in the command-line JSON test. Its
// largest perpendicular distance is 0.013194 against s = 0.0101717 (ratio 1.29714): an SD limit
// just above keeps every sample. With a standard error of zero for the reference ISI, that of the
// working ISI is the slope's. The interval takes the shipped table's t at the default 95 %.
TEST_F(EngineFixture, WorkedExampleISIWithoutTheReferenceError) {
    load(testing::WorkedExample());
    settings.SDLimit = 1.2972;
    runThroughFit(testing::ShippedTable());
    EXPECT_NEAR(Num(results.SlopeCILowAll), 1.0930449564967772, 1e-12); // bc
    EXPECT_EQ(results.SDExcludedCount, 0);
    EXPECT_EQ(results.CalibrationFailed, 0);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(std::pair(results.AbnormalsUsed, results.NormalsUsed), std::pair(3, 2));
    ComputeISI(data, results);
    EXPECT_NEAR(Num(results.ISIWorking), 1.135895, 5e-7); // b of the bc run, times ISI 1
    EXPECT_DOUBLE_EQ(Num(results.SEISIWorking), Num(results.SESlopeAll));
    runThroughFit(testing::UniformTable(1000.0)); // a t so large that no interval exists
    EXPECT_EQ(std::pair(results.SlopeCILowAll, results.SlopeCIHighAll),
              std::pair(Value(0.0), Value(0.0)));
    EXPECT_EQ(RoundDegreesOfFreedom(2.2009), 2);
    EXPECT_EQ(RoundDegreesOfFreedom(12.5), 13) << "a half goes up";
}

// A fit that fails keeps what an earlier run wrote: after the first pass (plasma 5 of INR 6.7 out
// of the limits leaves two abnormals) no line at all, after the second (an SD limit just below
// the worked example's largest distance, 1.29714 s, leaves four) the first pass's line but no
// interval.
TEST_F(EngineFixture, FailedPassesKeepEarlierValues) {
    load({{"Normal", "12", "12"},
          {"Normal", "13", "13"},
          {"Abnormal", "25", "24"},
          {"Abnormal", "35", "33"},
          {"Abnormal", "90", "80"}});
    results.SlopeAll = Value("earlier");
    runThroughFit(testing::UniformTable(3.182));
    EXPECT_EQ(results.INRExcludedCount, 1);
    EXPECT_EQ(results.CalibrationFailed, 1);
    EXPECT_EQ(results.SlopeAll, Value("earlier"));
    EXPECT_EQ(results.SDExcluded, SampleFlags{});

    load(testing::WorkedExample());
    results.SlopeCILowAll = Value("earlier");
    results.CalibrationFailed = 0;
    settings.SDLimit = 1.2970;
    runThroughFit(testing::UniformTable(3.182));
    EXPECT_EQ(results.SDExcludedCount, 1);
    EXPECT_EQ(results.CalibrationFailed, 1);
    EXPECT_EQ(sink.messages.back(),
              DataErrorMessage("After exclusions, there is insufficient data to perform the "
                               "calibration"));
    EXPECT_NEAR(Num(results.SlopeAll), 1.135895, 5e-7);
    EXPECT_EQ(results.SlopeCILowAll, Value("earlier"));
    settings.SDLimit = 1.2972; // the earlier exclusion is cleared
    runThroughFit(testing::UniformTable(3.182));
    EXPECT_EQ(results.SDExcluded, SampleFlags{});
    settings.SDLimit = 1.2970; // the same sample goes whichever row it stands in
    std::vector<Sample> rows = testing::WorkedExample();
    for (std::size_t turn = 0; turn < rows.size(); ++turn) {
        std::rotate(rows.begin(), rows.begin() + 1, rows.end());
        load(rows);
        runThroughFit(testing::UniformTable(3.182));
        EXPECT_EQ(results.SDExcludedCount, 1) << turn;
    }
}

TEST_F(EngineFixture, AbnormalOnlyLineLeavesOutExcludedAbnormals) {
    std::vector<Sample> samples = testing::WorkedExample();
    samples[1].x = "13.5";
    samples.push_back({"Abnormal", "300", "250"});
    load(samples);
    runThroughFit(testing::UniformTable(3.182));
    ASSERT_EQ(results.INRExcluded[6], 1);
    FitAbnormalOnlyLine(settings, testing::UniformTable(12.706), results);
    EXPECT_EQ(results.AbnormalsUsed, 3);
    // The three kept abnormal samples are those of the worked example (bc values).
    EXPECT_NEAR(Num(results.SlopeAbnormal), 1.12996368894974, 1e-12);
    EXPECT_NEAR(Num(results.InterceptAbnormal), -0.291988306869112, 1e-12);
}

} // namespace
} // namespace morvane
