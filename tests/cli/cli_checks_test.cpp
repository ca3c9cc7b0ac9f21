// `morvane-cli checks` and the "checks" member of `calibrate --json`, run in process on the
// worked example. Expected statistics come from tests/data/report_worked_example.bc (bc -l, 40
// digits, upper INR limit 6): CV = 100 SE(b) / b of the all-samples line, and the deviation
// 100 (I^(b_abnormal / b_all) exp(d ISIref) / I - 1) worked there from b_all, b_abnormal and d.
#include "cli_app.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>

namespace morvane {
namespace {

const std::string kWorkedExample = MORVANE_TEST_DATA_DIR "/report_worked_example.txt";

// Runs morvane-cli with the test table; the exit status and standard output.
std::pair<int, std::string> run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin() + 1, "--tcrit=" MORVANE_TCRIT_FILE);
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    const int status = RunCli(arguments, ".", out, stderr); // messages go to the test's log
    std::fclose(out);
    std::string printed(text, size);
    std::free(text);
    return {status, printed};
}

// The expected table is laid out by hand in the fixture, lines ending in CR LF.
TEST(CliChecks, FailedFitPrintsTheTableAndCannotBeJudged) {
    std::ifstream expected(MORVANE_TEST_DATA_DIR "/checks_failed_fit.txt", std::ios::binary);
    const std::string table(std::istreambuf_iterator<char>(expected), {});
    EXPECT_EQ(run({"checks", kWorkedExample}), std::pair(kExitCriteriaNotMet, table));
}

TEST(CliChecks, ExitStatusFollowsTheVerdict) {
    EXPECT_EQ(run({"checks", MORVANE_EXAMPLES_DIR "/calibration_example.txt"}).first, 0);
    EXPECT_EQ(run({"checks", "--upper-inr", "6", kWorkedExample}).first, 3); // design fails
    EXPECT_EQ(run({"checks", MORVANE_TEST_DATA_DIR "/report_two_abnormals.txt"}).first, 1);
    EXPECT_EQ(run({"checks", "--json", kWorkedExample}).first, 2);
}

TEST(CliChecks, JsonEndsWithTheUnroundedChecks) {
    const auto [status, out] = run({"calibrate", "--json", "--upper-inr=6", kWorkedExample});
    const std::string checks = out.substr(out.find("  \"messages\": [],\n  \"checks\": {\n"));
    for (const auto& [key, expected] : {std::pair{"SlopeCV", 1.2107177446400481},
                                        std::pair{"INRDeviationAt2", 0.53219251823751633},
                                        std::pair{"INRDeviationAt4_5", 0.10736174877440717}}) {
        std::smatch value;
        ASSERT_TRUE(std::regex_search(checks, value, std::regex(key + std::string("\": (.+),"))));
        EXPECT_NEAR(std::stod(value[1]), expected, 1e-9) << key;
    }
    const std::string keys = std::regex_replace(checks, std::regex("\n    \"(\\w+)\": "), "$1 ",
                                                std::regex_constants::format_no_copy);
    EXPECT_EQ(keys, "SlopeCV SlopeCVLimit SlopeCVPass NormalsInDataSet AbnormalsInDataSet "
                    "NormalsUsed AbnormalsUsed DesignPass INRExcludedCount SDExcludedCount "
                    "DisplacementSignificant INRDeviationAt2 INRDeviationAt4_5 "
                    "INRDeviationPass MeetsCriteria ");
    EXPECT_TRUE(
        out.ends_with("\"INRDeviationPass\": null,\n    \"MeetsCriteria\": false\n  }\n}\n"));
}

} // namespace
} // namespace morvane
