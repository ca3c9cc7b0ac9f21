// morvane-cli on small data files, run in process in the test data folder. The expected reports
// tests/data/*.expected.txt and the checks table are laid out by hand from the report's rules;
// every number in them, and the statistics below, come from the bc calculation in
// tests/data/report_worked_example.bc (40 digits, rounded by hand to the shown decimals).
#include "cli_app.h"
#include "command_line.h"
#include "json_text.h"
#include "program_files.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <regex>
#include <sstream>

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
    std::string out, err;
};

// Runs morvane-cli in the test data folder, as installed beside the shipped table, with
// SOURCE_DATE_EPOCH set to `epoch` (1700000000 is 2023-11-14 22:13:20 UTC) or unset for nullptr.
CliRun runCli(const std::vector<std::string>& arguments, const char* epoch = "1700000000") {
    fs::current_path(kDataDir);
    epoch ? ::setenv("SOURCE_DATE_EPOCH", epoch, 1) : ::unsetenv("SOURCE_DATE_EPOCH");
    char* texts[2] = {};
    std::size_t sizes[2] = {};
    std::FILE* streams[2] = {::open_memstream(&texts[0], &sizes[0]),
                             ::open_memstream(&texts[1], &sizes[1])};
    CliRun run;
    run.status =
        RunCli(arguments, fs::path(MORVANE_CLI_EXECUTABLE).parent_path(), streams[0], streams[1]);
    for (int i = 0; i < 2; ++i) {
        std::fclose(streams[i]);
        (i == 0 ? run.out : run.err).assign(texts[i], sizes[i]);
        std::free(texts[i]);
    }
    return run;
}

// With ISI 1.1 plasma 5 has the reference INR (55 / 12.84523)^1.1 = 4.952 > 4.5: two abnormal
// plasmas remain, too few for the line, and the report ends after the INR exclusions; the checks
// table cannot judge that run. With the upper limit at 6 every section is written, here with the
// Tomenson column.
TEST(Cli, ReportsAreByteExact) {
    const struct {
        std::vector<std::string> arguments;
        std::string expected;
        int status;
    } cases[] = {
        {{"calibrate", kWorked}, "report_fit_fails_after_inr_exclusion.expected.txt", 0},
        {{"calibrate", "--upper-inr", "6", "--tomenson", kWorked},
         "report_tomenson_column.expected.txt",
         0},
        {{"checks", kWorked}, "checks_failed_fit.txt", kExitCriteriaNotMet},
        {{"checks", "--upper-inr", "4.5", MORVANE_EXAMPLES_DIR "/calibration_example.txt"},
         "checks_example_meets_criteria.txt",
         0},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.expected;
        EXPECT_EQ(run.err, c.arguments.size() == 2 ? kFailedFit + "\n" : "") << c.expected;
        EXPECT_EQ(run.out, ReadBytes(c.expected)) << c.expected;
    }
}

// Status 1 for data that cannot be calibrated or a plot that cannot be drawn or written, 2 for a
// wrong command line (whose message the usage text follows); no report either way. Each line of
// the fixture holds the status, the arguments separated by spaces and the standard error up to
// the usage text, "\n" standing for a line end, separated by tabs.
TEST(Cli, RefusedRunsPrintNoReport) {
    std::istringstream cases(ReadBytes(kDataDir + "/cli_refused_runs.tsv"));
    int count = 0;
    for (std::string line; std::getline(cases, line); ++count) {
        const auto tab = line.find('\t'), lastTab = line.rfind('\t');
        std::istringstream words(line.substr(tab + 1, lastTab - tab - 1));
        const std::vector<std::string> arguments{std::istream_iterator<std::string>(words), {}};
        const std::string err =
            std::regex_replace(line.substr(lastTab + 1), std::regex("\\\\n"), "\n");
        const int status = std::stoi(line.substr(0, tab));
        const fs::path refusedPlot = kDataDir + "/p.svg"; // where a refused plot would go
        fs::remove(refusedPlot);
        const CliRun run = runCli(arguments);
        EXPECT_FALSE(fs::remove(refusedPlot)) << err;
        EXPECT_EQ(run.status, status) << err;
        EXPECT_EQ(run.out, "") << err;
        const auto usage = run.err.find("\n\nUsage: morvane-cli calibrate");
        EXPECT_EQ(usage == std::string::npos ? run.err : run.err.substr(0, usage + 1), err);
        EXPECT_EQ(usage != std::string::npos, status == 2) << err;
    }
    EXPECT_EQ(count, 27);
}

// The help text, as a user reads it, is printed by --help and after a wrong command line.
TEST(Cli, HelpAndVersion) {
    const std::string help = ReadBytes(kDataDir + "/cli_help.txt");
    const CliRun run = runCli({"--help"});
    EXPECT_EQ(std::pair(run.status, run.out), std::pair(0, help));
    EXPECT_EQ(runCli({"calibrate"}).err, "morvane-cli: no data file given\n\n" + help);
    EXPECT_TRUE(std::regex_match(runCli({"--version"}).out,
                                 std::regex("morvane-cli \\d+\\.\\d+\\.\\d+ \\(Version .+\\)\n")));
}

TEST(Cli, ChecksExitStatusFollowsTheVerdict) {
    EXPECT_EQ(runCli({"checks", "--upper-inr", "6", kWorked}).status, 3); // design fails
}

TEST(Cli, DateAndTimeFromSourceDateEpochInUtcElseFromTheLocalClock) {
    const std::vector<std::string> arguments = {"calibrate", "--upper-inr", "6", kWorked};
    ::setenv("TZ", "Asia/Tokyo", 1);
    ::tzset();
    EXPECT_NE(runCli(arguments, "86399")
                  .out.find("\r\nDate: 1970-01-01" + std::string(54, ' ') + "Time: 23:59:59\r\n"),
              std::string::npos);
    EXPECT_NE(runCli(arguments, "0").out.find("Time: 00:00:00\r\n"), std::string::npos);
    EXPECT_EQ(runCli(arguments, "86399 s").out.find("Date: 1970"), std::string::npos)
        << "not a number of seconds: the clock";
    // Without it the clock is read in the local time zone, here 14 hours ahead of UTC.
    ::setenv("TZ", "LAB-14", 1);
    ::tzset();
    const std::time_t before = std::time(nullptr);
    const CliRun local = runCli(arguments, nullptr);
    const auto shows = [&](std::time_t moment) {
        char date[16], time[16];
        std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&moment));
        std::strftime(time, sizeof time, "%H:%M:%S", std::localtime(&moment));
        return local.out.find("Date: " + std::string(date) + std::string(54, ' ') +
                              "Time: " + time) != std::string::npos;
    };
    EXPECT_TRUE(shows(before) || shows(std::time(nullptr))) << local.out.substr(0, 300);
    ::unsetenv("TZ");
    ::tzset();
}

// The printed JSON as a JSON parser reads it, members in their printed order; a text that is not
// JSON fails the test.
nlohmann::ordered_json parsedJson(const std::string& text) {
    nlohmann::ordered_json document = nlohmann::ordered_json::parse(text, nullptr, false);
    EXPECT_FALSE(document.is_discarded()) << text;
    return document;
}

TEST(Cli, JsonTextsReadBackAsWritten) {
    const std::string awkward = "tab\t quote\" slash\\ \r\n \x01 \xC3\xA9";
    EXPECT_EQ(parsedJson(JsonString(awkward)), awkward);
    EXPECT_EQ(parsedJson("[" + JsonNumber(HUGE_VAL) + ", " + JsonNumber(std::nan("")) + "]"),
              nlohmann::json::array({nullptr, nullptr}));
}

// The statistics are the engine's doubles before the report rounds them, written to read back
// exactly; the fixture holds the bc run's values. The checks' CV is 100 SE(b) / b of the line of
// all samples, the deviation 100 (I^(b_abnormal / b_all) exp(d ISIref) / I - 1) from those b, d.
TEST(Cli, JsonHoldsTheDoublesBeforeRoundingAndEndsWithTheChecks) {
    const CliRun run = runCli({"calibrate", "--json", "--upper-inr", "6", kWorked});
    ASSERT_EQ(run.status, 0);
    const nlohmann::ordered_json json = parsedJson(run.out);
    std::istringstream statistics(ReadBytes(kDataDir + "/json_statistics_worked_out_in_bc.txt"));
    std::string key;
    int values = 0;
    for (double expected; statistics >> key >> expected; ++values) {
        const auto& part = json["results"].contains(key) ? json["results"] : json["checks"];
        EXPECT_NEAR(part.value(key, 0.0), expected, 1e-12) << key;
    }
    EXPECT_EQ(values, 27);
    EXPECT_EQ(json["results"]["CVISIWorking"], 2.18); // as the report shows it
    EXPECT_LT(json["results"].value("DisplacementPLow", 1.0),
              json["results"].value("DisplacementPHigh", 0.0));
    EXPECT_EQ(json["results"]["SDExcluded"], nlohmann::json::array({0, 0, 0, 0, 0}));
    EXPECT_EQ(json["settings"].dump(),
              R"({"LowerINR":1.5,"UpperINR":6,"SDLimit":3,"ISIReference":1.1,)"
              R"("SEISIReference":0.02,"ConfidenceLevel":"95%","TomensonCorrection":false})");
    std::string keys;
    for (const auto& [name, value] : json["checks"].items())
        keys += name + (value.is_null() ? "=null " : " ");
    EXPECT_EQ(keys, "SlopeCV SlopeCVLimit SlopeCVPass NormalsInDataSet AbnormalsInDataSet "
                    "NormalsUsed AbnormalsUsed DesignPass INRExcludedCount SDExcludedCount "
                    "DisplacementSignificant INRDeviationAt2 INRDeviationAt4_5 "
                    "INRDeviationPass=null MeetsCriteria ");
    EXPECT_EQ(json["checks"]["MeetsCriteria"], false);
    EXPECT_NE(run.out.find("\n  \"messages\": [],\n"), std::string::npos);

    // A failed fit writes every statistic as null; the layout as written, byte for byte, with
    // the replaced limits' message before the fit's.
    EXPECT_EQ(runCli({"calibrate", "--json", "--upper-inr", "100", kWorked}).out,
              ReadBytes(kDataDir + "/json_fit_fails_after_inr_exclusion.json"));
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The plot command calibrates as calibrate does and writes the plot as SVG: every text a
// <text> element (title, axis titles from the file's preparation names or the options), every
// abnormal sample a <circle>.
TEST(Cli, PlotWritesTheCalibrationPlotAsSvg) {
    testing::TempFolder folder;
    const std::string svg = (folder.path / "plot.svg").string();
    CliRun run = runCli({"plot", "--upper-inr", "6", "--out", svg, kWorked});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string picture = ReadBytes(svg);
    for (const char* text :
         {">Plot of Log PT and Calibration Line(s)</text>", ">Reference rTF/95</text>",
          ">Working lot 17</text>", ">Abnormal+normal line</text>", ">Abnormal only line</text>",
          "viewBox=\"0 0 600 600\""})
        EXPECT_EQ(count(picture, text), 1) << text;
    EXPECT_EQ(count(picture, "<circle"), 3 + 1) << "three abnormal samples and the legend's marker";

    run = runCli({"plot", "--upper-inr=6", "--title=Lot 17", "--y-label", "RP", "--no-legend",
                  "--out", svg, kWorked});
    picture = ReadBytes(svg);
    EXPECT_EQ(count(picture, ">Lot 17</text>") + count(picture, ">RP</text>"), 2);
    EXPECT_EQ(count(picture, "Abnormal+normal line"), 0);

    run = runCli({"plot", "--upper-inr", "6", "--no-abnormal-line", "--show-excluded", "--out", svg,
                  kWorked});
    picture = ReadBytes(svg);
    EXPECT_EQ(count(picture, "Abnormal only line") + count(picture, ">Excluded by INR limits<"), 1);
}

// A run recorded with --record is printed as calibrate prints it, and register show prints the
// same bytes back; the listing's JSON and the export are JSON a parser reads, with the run's
// unrounded ISI, the data set's digest and the recorded report.
TEST(Cli, RecordedRunsAreListedShownAndExportedAsPrinted) {
    testing::TempFolder folder;
    const std::string where = (folder.path / "lots" / "register.sqlite").string();
    const CliRun plain = runCli({"calibrate", "--upper-inr", "6", kWorked});
    const CliRun recorded =
        runCli({"calibrate", "--record", "--register", where, "--upper-inr", "6", kWorked});
    EXPECT_EQ(recorded.status, 0);
    EXPECT_EQ(recorded.out, plain.out);
    EXPECT_EQ(recorded.err, "morvane-cli: recorded as record 1 in " + where + "\n");
    EXPECT_EQ(runCli({"calibrate", "--record", "--json", "--register=" + where, kWorked}).status,
              0);

    EXPECT_EQ(runCli({"register", "show", "1", "--register", where}).out, plain.out);
    const nlohmann::ordered_json listed =
        parsedJson(runCli({"register", "list", "--format=json", "--register", where}).out);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0]["id"], 1);
    EXPECT_EQ(listed[1]["verdict"], "not judged") << "the second run's fit failed";
    EXPECT_TRUE(listed[1]["isiWorking"].is_null());
    const CliRun exported = runCli({"register", "export", "--register", where});
    std::istringstream lines(exported.out);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    const nlohmann::ordered_json first = parsedJson(line);
    EXPECT_EQ(first["reportText"], plain.out);
    EXPECT_EQ(first["workingPreparation"], "Working lot 17");
    EXPECT_EQ(first["run"]["results"]["ISIWorking"], listed[0]["isiWorking"]);
    EXPECT_EQ(first["dataSetSha256"].get<std::string>().size(), 64u);
    EXPECT_EQ(runCli({"register", "show", "3", "--register", where}).status, 1);
}

TEST(CliOptions, EveryFieldOptionTakesItsValueInBothSpellings) {
    const ParsedCommandLine parsed =
        ParseCommandLine({"calibrate", "--lower-inr", "2", "--upper-inr=3.5", "--sd-limit", "",
                          "--isi=1.05", "--se-isi", "0.020", "--ci", "99%", "--id", "run5",
                          "--tcrit=/t.txt", "--tomenson", "--json", "data.txt"});
    ASSERT_EQ(parsed.command, CliCommand::Calibrate) << parsed.error;
    const CalibrateOptions& o = parsed.options;
    using Texts = std::vector<std::optional<std::string>>;
    EXPECT_EQ(o.dataFile, "data.txt");
    // An empty text is a value the run will replace.
    EXPECT_EQ((Texts{o.lowerINR, o.upperINR, o.sdLimit, o.isi, o.seIsi, o.ci, o.id, o.tcritPath}),
              (Texts{"2", "3.5", "", "1.05", "0.020", "99%", "run5", "/t.txt"}));
    EXPECT_TRUE(o.tomenson && o.json);
    EXPECT_EQ(ParseCommandLine({"calibrate", "--ci", "80%", "--help"}).command, CliCommand::Help);
}

} // namespace
} // namespace morvane
