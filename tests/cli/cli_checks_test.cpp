// `morvane-cli checks` and the "checks" member of `calibrate --json`, run in process on the
// worked example. Expected statistics come from tests/data/report_worked_example.bc (bc -l, 40
// digits, run with the upper INR limit at 6): CV = 100 SE(b) / b of the all-samples line, and
// the deviation 100 (I^(b_abnormal / b_all) exp(d ISIref) / I - 1) worked there from b_all,
// b_abnormal and d.
#include "cli_app.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace morvane {
namespace {

const std::string kWorkedExample = MORVANE_TEST_DATA_DIR "/report_worked_example.txt";

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin() + 1, "--tcrit=" MORVANE_TCRIT_FILE);
    char* outText = nullptr;
    char* errText = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* out = open_memstream(&outText, &outSize);
    std::FILE* err = open_memstream(&errText, &errSize);
    CliRun result;
    result.status = RunCli(arguments, ".", out, err);
    std::fclose(out);
    std::fclose(err);
    result.out.assign(outText, outSize);
    result.err.assign(errText, errSize);
    std::free(outText);
    std::free(errText);
    return result;
}

double jsonMember(const std::string& json, const std::string& key) {
    std::smatch match;
    EXPECT_TRUE(std::regex_search(json, match, std::regex("\"" + key + "\": ([-0-9.e]+)")));
    return match.empty() ? 0.0 : std::stod(match[1]);
}

TEST(CliChecks, FailedFitPrintsTheTableAndCannotBeJudged) {
    const CliRun result = run({"checks", kWorkedExample});
    EXPECT_EQ(result.status, kExitCriteriaNotMet);
    EXPECT_EQ(result.out,
              "Calibration Checks\r\n\r\n"
              "Check                               Value                                    "
              "Limit                           Verdict\r\n"
              "Precision of the slope              -                                        "
              "<= 3.0 %                        Not available\r\n"
              "Design                              2 normal, 3 abnormal (used 2, 2)         "
              ">= 20 normal, >= 60 abnormal    Fail\r\n"
              "Exclusions                          1 by INR limits, 0 by SD limit (20.0 %)\r\n"
              "Model adequacy (Tomenson)           -                                        "
              "not significant at 1 %          Not available\r\n"
              "% INR deviation at INR 2.0 and 4.5  - / -                                    "
              "within 10.0 % when significant  Not available\r\n"
              "\r\nCalibration could not be judged against the guideline criteria\r\n");
}

TEST(CliChecks, ExitStatusFollowsTheVerdict) {
    const struct {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {
        {{"checks", MORVANE_EXAMPLES_DIR "/calibration_example.txt"}, kExitReported},
        {{"checks", "--upper-inr", "6", kWorkedExample}, kExitCriteriaNotMet},
        {{"checks", MORVANE_TEST_DATA_DIR "/report_two_abnormals.txt"}, kExitStopped},
        {{"checks", "--json", kWorkedExample}, kExitUsage},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.arguments).status, c.status) << c.arguments[1];
    EXPECT_TRUE(run(cases[1].arguments)
                    .out.ends_with("\r\nCalibration does not meet the guideline criteria: "
                                   "Design\r\n"));
}

TEST(CliChecks, JsonEndsWithTheUnroundedChecks) {
    const CliRun result = run({"calibrate", "--json", "--upper-inr=6", kWorkedExample});
    ASSERT_EQ(result.status, kExitReported);
    const std::string checks = result.out.substr(result.out.find("\"messages\": [],\n"));
    EXPECT_NEAR(jsonMember(checks, "SlopeCV"), 1.2107177446400481, 1e-9);
    EXPECT_NEAR(jsonMember(checks, "INRDeviationAt2"), 0.53219251823751633, 1e-9);
    EXPECT_NEAR(jsonMember(checks, "INRDeviationAt4_5"), 0.10736174877440717, 1e-9);
    std::string keys;
    const std::regex key("\n    \"(\\w+)\": ");
    for (std::sregex_iterator k(checks.begin(), checks.end(), key), end; k != end; ++k)
        keys += (*k)[1].str() + " ";
    EXPECT_EQ(keys, "SlopeCV SlopeCVLimit SlopeCVPass NormalsInDataSet AbnormalsInDataSet "
                    "NormalsUsed AbnormalsUsed DesignPass INRExcludedCount SDExcludedCount "
                    "DisplacementSignificant INRDeviationAt2 INRDeviationAt4_5 "
                    "INRDeviationPass MeetsCriteria ");
    EXPECT_TRUE(checks.ends_with("\"INRDeviationPass\": null,\n    \"MeetsCriteria\": false\n  "
                                 "}\n}\n"));
}

} // namespace
} // namespace morvane
