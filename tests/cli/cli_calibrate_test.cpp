// morvane-cli run as a separate process on small data files. The expected reports are laid out
// by hand from the report's rules; every number in them comes from the bc calculation in
// tests/data/report_worked_example.bc (40 digits), rounded by hand to the shown decimals.

#include "calibration_run.h"
#include "critical_t_table.h"
#include "data_file.h"
#include "grid_conversion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace morvane {
namespace {

namespace fs = std::filesystem;

const std::string kDataDir = MORVANE_TEST_DATA_DIR;
const std::string kWorkedExample = "report_worked_example.txt";
const std::string kFixedClock = "SOURCE_DATE_EPOCH=1700000000"; // 2023-11-14 22:13:20 UTC

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the executable in the test data folder with the given environment assignment (or
// "-u NAME" to remove a variable) and captures both streams and the exit status.
CliRun runCli(const std::vector<std::string>& arguments,
              const std::string& environment = kFixedClock) {
    const fs::path scratch = fs::path(::testing::TempDir()) / "morvane_cli_run";
    fs::create_directories(scratch);
    const fs::path outFile = scratch / "stdout";
    const fs::path errFile = scratch / "stderr";
    std::string command =
        "cd " + quoted(kDataDir) + " && env " + environment + " " + quoted(MORVANE_CLI_EXECUTABLE);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " >" + quoted(outFile.string()) + " 2>" + quoted(errFile.string());
    const int raw = std::system(command.c_str());
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readBytes(outFile);
    run.err = readBytes(errFile);
    return run;
}

std::string spaces(int count) {
    return std::string(count, ' ');
}

// The lines of a report, each ended by CR LF.
std::string crlf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

const std::string U(58, '_');

std::string headerOfWorkedExample() {
    return crlf({
        spaces(14) + "MORVANE",
        spaces(14) + "Version 3.1 (Morvane 1.0)",
        U,
        "File Name: report_worked_example.txt",
        "Date: 2023-11-14" + spaces(54) + "Time: 22:13:20",
        "",
        "Reference thromboplastin: Reference rTF/95",
        "Working thromboplastin: Working lot 17",
        "",
        " 2  normal observations and",
        " 3  abnormal observations in original data-set",
    });
}

TEST(CliCalibrate, FailedFitReportsTheINRExclusionAndExitsZero) {
    // With ISI 1.1 plasma 5 has the reference INR (55 / 12.84523)^1.1 = 4.952 > 4.5; two
    // abnormal plasmas remain, too few for the line.
    const CliRun run = runCli({"calibrate", kWorkedExample});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "Data Error: After exclusions, there is insufficient data to perform the "
                       "calibration\n");
    EXPECT_EQ(run.out, headerOfWorkedExample() +
                           crlf({U, spaces(14) + " Observations outside INR limits",
                                 spaces(14) + "(MNPT derived from all  2 normal observations",
                                 spaces(14) + "(lower limit=1.50; upper limit=4.50)", "",
                                 spaces(14) + "  Plasma     PT           INR",
                                 spaces(19) + " 5 " + spaces(6) + " 55 " + spaces(10) + "4.95", U,
                                 "After exclusions, there is insufficient data to perform the "
                                 "calibration",
                                 ""}));
}

TEST(CliCalibrate, FullReportWithTomensonColumnIsByteExact) {
    const CliRun run = runCli({"calibrate", "--upper-inr", "6", "--tomenson", kWorkedExample});
    // Table rows: plasma number at column 10, then columns 20, 30, 40, 50 and 60.
    auto row = [](const std::string& n, const std::string& y, const std::string& inrY,
                  const std::string& x, const std::string& inrX, const std::string& inrT) {
        return spaces(9) + " " + n + " " + spaces(7) + y + spaces(5) + inrY + spaces(6) + x +
               spaces(5) + inrX + spaces(6) + inrT;
    };
    const std::string expected =
        headerOfWorkedExample() +
        crlf({
            U,
            "ABNORMAL+NORMAL CALIBRATION (n =  5 )",
            "",
            "",
            "Coefficients  :          y  =  -0.3133  +  1.1359 x",
            "Standard error:               (0.0425)    (0.0138)",
            "",
            "    SD about line = 0.0102   CV of slope = 1.21",
            "",
            "    95% Confidence Interval for slope: (1.0930, 1.1806)",
            U,
            "ABNORMAL ONLY CALIBRATION (n =  3 )",
            "",
            "Coefficients  :          y  =  -0.2920  +  1.1300 x",
            "Standard error:               (0.0300)    (0.0088)",
            "",
            "    SD about line = 0.0033   CV of slope = 0.78",
            "",
            "    95% Confidence Interval for slope: (1.0241,  1.2482 )",
            "",
            U,
            "",
            "TOMENSON'S CORRECTION",
            "",
            "    Vertical displacement, d, between abnormal only line",
            "    and mean of normal log PT = 0.0081 (exp(d) = 1.0081)",
            "    95% Confidence Interval for displacement: (-0.077,  .093 )",
            "    Test for zero displacement: test statistic = 0.41",
            spaces(48) + "degrees of freedom =  2",
            spaces(48) + "0.700 < p-value < 0.800",
            "",
            U,
            "ISI STATISTICS",
            "",
            "ISI (Reference rTF/95) = 1.1000",
            "MNPT =  12.8452  ( 2 normals)",
            "Standard error = 0.02",
            "CV of ISI =  1.82 ",
            "",
            "ISI (Working lot 17) = 1.2495",
            "MNPT = 12.4900 ( 2 normals)",
            "Standard error = 0.0273",
            "CV of ISI =  2.18 ",
            U,
            "PROTHROMBIN TIMES AND INTERNATIONAL NORMALIZED RATIOS",
            "",
            spaces(19) + "Reference" + spaces(11) + "Working" + spaces(13) + "Tomenson's",
            spaces(19) + "Thromboplastin" + spaces(6) + "Thromboplastin" + spaces(6) + "corrected",
            spaces(6) + "Plasma" + spaces(7) + "PT" + spaces(8) + "INR" + spaces(7) + "PT" +
                spaces(8) + "INR" + spaces(7) + "INR",
            row("1", "12.50", "0.97", "12.00", "0.95", "0.96"),
            row("2", "13.20", "1.03", "13.00", "1.05", "1.06"),
            row("3", "22.00", "1.81", "20.00", "1.80", "1.81"),
            row("4", "35.00", "3.01", "30.00", "2.99", "3.00"),
            row("5", "55.00", "4.95", "45.00", "4.96", "4.96"),
        });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, expected);
}

TEST(CliCalibrate, ParameterMessagesGoToStandardErrorInTheirOrder) {
    const CliRun run = runCli({"calibrate", "--isi", "abc", "--sd-limit", "0", kWorkedExample});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "Calibration Line Limits: A valid calibration line limit not entered. "
                       "Vantel recommended limit will be used for this calibration (Standard "
                       "Deviation Limit=3.0).\n"
                       "ISI not entered: Valid ISI of reference reagent not entered. ISI=1 "
                       "will be used for this calibration.\n");
    // The default ISI of 1 keeps plasma 5 (INR 4.28) inside the limits.
    EXPECT_NE(run.out.find("ISI (Reference rTF/95) = 1.0000\r\n"), std::string::npos);
    EXPECT_NE(run.out.find("ABNORMAL+NORMAL CALIBRATION (n =  5 )\r\n"), std::string::npos);
}

const std::string kInsufficient =
    "Data Error: There is either insufficient data to perform the calibration (at least 3 "
    "abnormal samples and 2 normals are required) or abnormal/normal data has been tagged "
    "incorrectly\n";

// Status 1 for data that cannot be calibrated, 2 for a wrong command line (whose message the
// usage text follows); no report either way.
TEST(CliCalibrate, RefusedRunsPrintNoReport) {
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string err;
    } cases[] = {
        {{"calibrate", "report_two_abnormals.txt"}, 1, kInsufficient},
        {{"calibrate", "none.txt"}, 1, "Data Error: Can't open file\n"},
        {{"calibrate", "none/d.txt"}, 1, "Data Error: Can't open file\n"},
        {{"calibrate", "--tcrit", "none.txt", kWorkedExample},
         1,
         "Critical t Table: The critical t table none.txt could not be opened. No calibration can "
         "be performed without the table.\n"},
        {{}, 2, "morvane-cli: no command given\n"},
        {{"calibrate"}, 2, "morvane-cli: no data file given\n"},
        {{"calibrate", "--fast", kWorkedExample}, 2, "morvane-cli: unknown option --fast\n"},
        {{"calibrate", "--ci", "80%", kWorkedExample},
         2,
         "morvane-cli: --ci takes 90%, 95% or 99%, not \"80%\"\n"},
        {{"calibrate", kWorkedExample, "--isi"}, 2, "morvane-cli: option --isi needs a value\n"},
        {{"calibrate", kWorkedExample, kWorkedExample},
         2,
         "morvane-cli: only one data file can be calibrated at a time\n"},
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
    const std::vector<std::string> arguments = {"calibrate", "--upper-inr", "6", kWorkedExample};
    const CliRun fixed = runCli(arguments, "SOURCE_DATE_EPOCH=86399 TZ=Asia/Tokyo");
    EXPECT_NE(fixed.out.find("\r\nDate: 1970-01-01" + spaces(54) + "Time: 23:59:59\r\n"),
              std::string::npos);
    const CliRun local = runCli(arguments, "-u SOURCE_DATE_EPOCH");
    EXPECT_TRUE(std::regex_search(
        local.out,
        std::regex("\r\nDate: \\d{4}-\\d{2}-\\d{2} {54}Time: \\d{2}:\\d{2}:\\d{2}\r\n")));
    EXPECT_EQ(local.out.find("1970-01-01"), std::string::npos);
}

// ---- JSON ----

// The number or literal that follows "key": in a JSON text, or "" when the key is missing.
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

// The same run in process, for the exact doubles the engine computes.
Calibration calibrateInProcess(const std::string& upperINR) {
    Calibration calibration;
    calibration.tcrit = LoadCriticalTTable(MORVANE_TCRIT_FILE);
    RecordingMessageSink sink;
    ReadDataFile(kDataDir + "/" + kWorkedExample, calibration.data, sink);
    GridCells grid;
    WriteDataToGrid(calibration.data, grid);
    EditorFields fields;
    fields.txtISI = calibration.data.ISIReference.text();
    fields.txtSEISI = calibration.data.SEISIReference.text();
    fields.txtUpperINR = upperINR;
    PerformCalibrationRun(calibration, grid, fields, sink);
    return calibration;
}

TEST(CliJson, StatisticsReadBackToTheEngineDoublesBeforeRounding) {
    const CliRun run = runCli({"calibrate", "--json", "--upper-inr", "6", kWorkedExample});
    ASSERT_EQ(run.status, 0);
    const Calibration engine = calibrateInProcess("6");
    for (const auto& [key, value] :
         {std::pair{"SlopeAll", &engine.results.SlopeAll},
          std::pair{"SEInterceptAbnormal", &engine.results.SEInterceptAbnormal},
          std::pair{"DisplacementCIHigh", &engine.results.DisplacementCIHigh},
          std::pair{"MNPTReferenceUsed", &engine.results.MNPTReferenceUsed}}) {
        const std::string text = jsonMember(run.out, key);
        ASSERT_FALSE(text.empty()) << key;
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), *value->number()) << key;
    }
    // Not the report's four decimals: bc gives b = 1.13589546762056...
    EXPECT_NEAR(std::strtod(jsonMember(run.out, "SlopeAll").c_str(), nullptr), 1.1358954676205634,
                1e-12);
    EXPECT_EQ(jsonMember(run.out, "SDExcluded"), "[0, 0, 0, 0, 0]");
    EXPECT_EQ(jsonMember(run.out, "UpperINR"), "6");
    EXPECT_EQ(jsonMember(run.out, "ConfidenceLevel"), "\"95%\"");
    EXPECT_EQ(jsonMember(run.out, "TomensonCorrection"), "false");
    EXPECT_NE(run.out.find("\"messages\": []"), std::string::npos);
}

TEST(CliJson, FailedFitHasNullLinesAndItsMessage) {
    const CliRun run = runCli({"calibrate", "--json", kWorkedExample});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(jsonMember(run.out, "CalibrationFailed"), "1");
    EXPECT_EQ(jsonMember(run.out, "INRExcluded"), "[0, 0, 0, 0, 1]");
    EXPECT_EQ(jsonMember(run.out, "SlopeAll"), "null");
    EXPECT_NE(run.out.find("{\"title\": \"Data Error\", \"text\": \"After exclusions, there is "
                           "insufficient data to perform the calibration\"}"),
              std::string::npos);
}

// ---- The example data files ----

const std::string kExamples = MORVANE_EXAMPLES_DIR;

TEST(CliExamples, GeneratorRewritesTheKeptFilesExactly) {
    const fs::path out = fs::path(::testing::TempDir()) / "morvane_examples_regenerated";
    fs::remove_all(out);
    const std::string command = "sh " + quoted(MORVANE_MAKE_EXAMPLES) + " " + quoted(out.string());
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name :
         {"calibration_example.txt", "calibration_exclusions.txt", "calibration_full_grid.txt"})
        EXPECT_EQ(readBytes(out / name), readBytes(fs::path(kExamples) / name)) << name;
}

} // namespace
} // namespace morvane

namespace morvane {
namespace {

// The plot command calibrates as calibrate does and writes the plot as SVG: every text a
// <text> element (title, axis titles from the file's preparation names or the options, tick
// labels), every abnormal sample a <circle>; a failed fit or a wrong command line writes none.
TEST(CliPlot, WritesTheCalibrationPlotAsSvg) {
    const fs::path svg = fs::path(::testing::TempDir()) / "morvane_cli_plot.svg";
    fs::remove(svg);
    CliRun run = runCli({"plot", "--upper-inr", "6", "--out", svg.string(), kWorkedExample});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string picture = readBytes(svg);
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_NE(picture.find(">Plot of Log PT and Calibration Line(s)</text>"), std::string::npos);
    EXPECT_NE(picture.find(">Reference rTF/95</text>"), std::string::npos);
    EXPECT_NE(picture.find(">Working lot 17</text>"), std::string::npos);
    EXPECT_NE(picture.find(">Abnormal+normal line</text>"), std::string::npos);
    std::size_t circles = 0;
    for (auto at = picture.find("<circle"); at != std::string::npos;
         at = picture.find("<circle", at + 1))
        ++circles;
    EXPECT_EQ(circles, 3u + 1u) << "three abnormal samples and the legend's marker";

    run = runCli({"plot", "--upper-inr=6", "--title=Lot 17", "--y-label", "RP", "--no-legend",
                  "--out", svg.string(), kWorkedExample});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string changed = readBytes(svg);
    EXPECT_NE(changed.find(">Lot 17</text>"), std::string::npos);
    EXPECT_NE(changed.find(">RP</text>"), std::string::npos);
    EXPECT_EQ(changed.find("Abnormal+normal line"), std::string::npos);

    fs::remove(svg);
    run = runCli({"plot", "--out", svg.string(), kWorkedExample});
    EXPECT_EQ(run.status, 1)
        << "with the upper INR limit 4.5 plasma 5 is left out and the fit fails";
    EXPECT_FALSE(fs::exists(svg)) << "no plot after a failed fit";
    EXPECT_EQ(runCli({"plot", kWorkedExample}).status, 2) << "--out is required";
    EXPECT_EQ(runCli({"calibrate", "--no-legend", kWorkedExample}).status, 2);
    EXPECT_EQ(runCli({"plot", "--json", "--out", svg.string(), kWorkedExample}).status, 2);
}

} // namespace
} // namespace morvane
