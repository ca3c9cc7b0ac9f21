// morvane-cli run as a separate process on small data files. The expected reports
// tests/data/*.expected.txt are laid out by hand from the report's rules; every number in them
// comes from the bc calculation in tests/data/report_worked_example.bc (40 digits), rounded by
// hand to the shown decimals.

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sys/wait.h>

namespace morvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

const std::string kDataDir = MORVANE_TEST_DATA_DIR;
const std::string kWorked = "report_worked_example.txt";
const std::string kFailedFit =
    "Data Error: After exclusions, there is insufficient data to perform the calibration";

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// A path in the temporary folder that no other test process uses, removed at the end.
fs::path scratch(const std::string& name) {
    struct Made : std::vector<fs::path> {
        ~Made() {
            for (const fs::path& path : *this)
                fs::remove_all(path);
        }
    };
    static Made made;
    made.push_back(fs::path(::testing::TempDir()) / (name + "-" + std::to_string(::getpid())));
    return made.back();
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs the executable in the test data folder with the given environment assignment (or
// "-u NAME" to remove a variable) and captures both streams and the exit status.
CliRun runCli(const std::vector<std::string>& arguments,
              const std::string& environment = "SOURCE_DATE_EPOCH=1700000000") {
    const fs::path folder = scratch("morvane_cli_run");
    fs::create_directories(folder);
    std::string command =
        "cd " + quoted(kDataDir) + " && env " + environment + " " + quoted(MORVANE_CLI_EXECUTABLE);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " >" + quoted((folder / "out").string()) + " 2>" + quoted((folder / "err").string());
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(folder / "out"),
            ReadBytes(folder / "err")};
}

// With ISI 1.1 plasma 5 has the reference INR (55 / 12.84523)^1.1 = 4.952 > 4.5: two abnormal
// plasmas remain, too few for the line, and the report ends after the INR exclusions. With the
// upper limit at 6 every section is written, here with the Tomenson column. SOURCE_DATE_EPOCH
// 1700000000 is 2023-11-14 22:13:20 UTC.
TEST(CliCalibrate, ReportsAreByteExact) {
    const struct {
        std::vector<std::string> arguments;
        std::string expected, err;
    } cases[] = {
        {{"calibrate", kWorked},
         "report_fit_fails_after_inr_exclusion.expected.txt",
         kFailedFit + "\n"},
        {{"calibrate", "--upper-inr", "6", "--tomenson", kWorked},
         "report_tomenson_column.expected.txt",
         ""},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, 0) << c.expected;
        EXPECT_EQ(run.err, c.err) << c.expected;
        EXPECT_EQ(run.out, ReadBytes(kDataDir + "/" + c.expected)) << c.expected;
    }
}

// The replaced entries are named on standard error in the order of the fields; the default ISI of
// 1 keeps plasma 5 (INR 4.28) inside the limits, so the report is whole.
TEST(CliCalibrate, ParameterMessagesGoToStandardErrorInTheirOrder) {
    const CliRun run = runCli({"calibrate", "--isi", "abc", "--sd-limit", "0", kWorked});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(
        std::regex_match(run.err, std::regex("Calibration Line Limits: [^\n]*Limit=3\\.0\\)\\.\n"
                                             "ISI not entered: [^\n]* ISI=1 [^\n]*\n")))
        << run.err;
    EXPECT_NE(run.out.find("ISI (Reference rTF/95) = 1.0000\r\n"), std::string::npos);
}

// Status 1 for data that cannot be calibrated or a plot that cannot be drawn or written, 2 for a
// wrong command line (whose message the usage text follows); no report either way.
TEST(CliCalibrate, RefusedRunsPrintNoReport) {
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string err;
    } cases[] = {
        {{"calibrate", "report_two_abnormals.txt"},
         1,
         "Data Error: There is either insufficient data to perform the calibration (at least 3 "
         "abnormal samples and 2 normals are required) or abnormal/normal data has been tagged "
         "incorrectly\n"},
        {{"calibrate", "none.txt"}, 1, "Data Error: Can't open file\n"},
        {{"calibrate", "none/d.txt"}, 1, "Data Error: Can't open file\n"},
        {{"calibrate", "--tcrit", "none.txt", kWorked},
         1,
         "Critical t Table: The critical t table none.txt could not be opened. No calibration can "
         "be performed without the table.\n"},
        {{}, 2, "morvane-cli: no command given\n"},
        {{"calibrate"}, 2, "morvane-cli: no data file given\n"},
        {{"calibrate", "--fast", kWorked}, 2, "morvane-cli: unknown option --fast\n"},
        {{"calibrate", "--ci", "80%", kWorked},
         2,
         "morvane-cli: --ci takes 90%, 95% or 99%, not \"80%\"\n"},
        {{"calibrate", kWorked, "--isi"}, 2, "morvane-cli: option --isi needs a value\n"},
        {{"calibrate", kWorked, kWorked},
         2,
         "morvane-cli: only one data file can be calibrated at a time\n"},
        {{"plot", kWorked}, 2, "morvane-cli: the plot command needs --out FILE.svg\n"},
        {{"plot", "--out", "p.svg", kWorked},
         1,
         kFailedFit + "\nmorvane-cli: no plot is drawn when the calibration fails\n"},
        {{"plot", "--upper-inr", "6", "--out", ".", kWorked},
         1,
         "morvane-cli: the plot could not be written to . (it is a folder)\n"},
        {{"calibrate", "--no-legend", kWorked},
         2,
         "morvane-cli: the plot options belong to the plot command\n"},
        {{"plot", "--json", "--out", "p.svg", kWorked},
         2,
         "morvane-cli: --json belongs to the calibrate command\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.err;
        EXPECT_EQ(run.out, "") << c.err;
        const auto usage = run.err.find("\n\nUsage: morvane-cli calibrate");
        EXPECT_EQ(usage == std::string::npos ? run.err : run.err.substr(0, usage + 1), c.err);
        EXPECT_EQ(usage != std::string::npos, c.status == 2) << c.err;
    }
}

TEST(CliCalibrate, DateAndTimeFromSourceDateEpochInUtcElseFromTheLocalClock) {
    const std::vector<std::string> arguments = {"calibrate", "--upper-inr", "6", kWorked};
    EXPECT_NE(runCli(arguments, "SOURCE_DATE_EPOCH=86399 TZ=Asia/Tokyo")
                  .out.find("\r\nDate: 1970-01-01" + std::string(54, ' ') + "Time: 23:59:59\r\n"),
              std::string::npos);
    const CliRun local = runCli(arguments, "-u SOURCE_DATE_EPOCH");
    EXPECT_TRUE(std::regex_search(
        local.out,
        std::regex("\r\nDate: \\d{4}-\\d{2}-\\d{2} {54}Time: \\d{2}:\\d{2}:\\d{2}\r\n")));
    EXPECT_EQ(local.out.find("1970-01-01"), std::string::npos);
}

// The number, literal or array that follows "key": in a JSON text, or "" when the key is missing.
std::string jsonMember(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\": ";
    const auto start = json.find(marker);
    if (start == std::string::npos)
        return "";
    const auto from = start + marker.size();
    const auto end =
        json[from] == '[' ? json.find(']', from) + 1 : json.find_first_of(",\n}", from);
    return json.substr(from, end - from);
}

// The statistics are the engine's doubles before the report rounds them, written to read back
// exactly: bc gives b = 1.13589546762056... and SE(a) of the abnormal-only line 0.0299767211829...
TEST(CliJson, StatisticsAreTheDoublesBeforeRounding) {
    const CliRun run = runCli({"calibrate", "--json", "--upper-inr", "6", kWorked});
    ASSERT_EQ(run.status, 0);
    const auto number = [&](const char* key) {
        return std::strtod(jsonMember(run.out, key).c_str(), nullptr);
    };
    EXPECT_NEAR(number("SlopeAll"), 1.1358954676205634, 1e-12);
    EXPECT_NEAR(number("SEInterceptAbnormal"), 0.029976721182923984, 1e-12);
    EXPECT_EQ(jsonMember(run.out, "SDExcluded"), "[0, 0, 0, 0, 0]");
    EXPECT_EQ(jsonMember(run.out, "UpperINR"), "6");
    EXPECT_EQ(jsonMember(run.out, "ConfidenceLevel"), "\"95%\"");
    EXPECT_EQ(jsonMember(run.out, "TomensonCorrection"), "false");
    EXPECT_NE(run.out.find("\"messages\": []"), std::string::npos);
}

TEST(CliJson, FailedFitHasNullLinesAndItsMessage) {
    const CliRun run = runCli({"calibrate", "--json", kWorked});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(jsonMember(run.out, "CalibrationFailed"), "1");
    EXPECT_EQ(jsonMember(run.out, "INRExcluded"), "[0, 0, 0, 0, 1]");
    EXPECT_EQ(jsonMember(run.out, "SlopeAll"), "null");
    EXPECT_NE(
        run.out.find("{\"title\": \"Data Error\", \"text\": \"" + kFailedFit.substr(12) + "\"}"),
        std::string::npos);
}

TEST(CliExamples, GeneratorRewritesTheKeptFilesExactly) {
    const fs::path out = scratch("morvane_examples_regenerated");
    fs::remove_all(out);
    const std::string command = "sh " + quoted(MORVANE_MAKE_EXAMPLES) + " " + quoted(out.string());
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name :
         {"calibration_example.txt", "calibration_exclusions.txt", "calibration_full_grid.txt"})
        EXPECT_EQ(ReadBytes(out / name), ReadBytes(fs::path(MORVANE_EXAMPLES_DIR) / name)) << name;
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The plot command calibrates as calibrate does and writes the plot as SVG: every text a
// <text> element (title, axis titles from the file's preparation names or the options), every
// abnormal sample a <circle>; a failed fit writes none.
TEST(CliPlot, WritesTheCalibrationPlotAsSvg) {
    const std::string svg = scratch("morvane_cli_plot").string() + ".svg";
    fs::remove(svg);
    CliRun run = runCli({"plot", "--upper-inr", "6", "--out", svg, kWorked});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string picture = ReadBytes(svg);
    for (const char* text :
         {">Plot of Log PT and Calibration Line(s)</text>", ">Reference rTF/95</text>",
          ">Working lot 17</text>", ">Abnormal+normal line</text>"})
        EXPECT_EQ(count(picture, text), 1) << text;
    EXPECT_EQ(count(picture, "<circle"), 3 + 1) << "three abnormal samples and the legend's marker";

    run = runCli({"plot", "--upper-inr=6", "--title=Lot 17", "--y-label", "RP", "--no-legend",
                  "--out", svg, kWorked});
    picture = ReadBytes(svg);
    EXPECT_EQ(count(picture, ">Lot 17</text>") + count(picture, ">RP</text>"), 2);
    EXPECT_EQ(count(picture, "Abnormal+normal line"), 0);

    fs::remove(svg);
    EXPECT_EQ(runCli({"plot", "--out", svg, kWorked}).status, 1) << "the fit fails at INR 4.5";
    EXPECT_FALSE(fs::exists(svg)) << "no plot after a failed fit";
}

} // namespace
} // namespace morvane
