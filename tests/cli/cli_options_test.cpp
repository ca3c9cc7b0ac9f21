#include "cli_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace morvane {
namespace {

namespace fs = std::filesystem;

TEST(CliOptions, EveryFieldOptionTakesItsValueInBothSpellings) {
    const ParsedCommandLine parsed =
        ParseCommandLine({"calibrate", "--lower-inr", "2", "--upper-inr=3.5", "--sd-limit", "",
                          "--isi=1.05", "--se-isi", "0.020", "--ci", "99%", "--id", "run5",
                          "--tcrit=/t.txt", "--tomenson", "--json", "data.txt"});
    ASSERT_EQ(parsed.command, CliCommand::Calibrate) << parsed.error;
    const CalibrateOptions& o = parsed.options;
    EXPECT_EQ(o.dataFile, "data.txt");
    EXPECT_EQ(o.lowerINR, "2");
    EXPECT_EQ(o.upperINR, "3.5");
    EXPECT_EQ(o.sdLimit, ""); // an empty text is a value the run will replace
    EXPECT_EQ(o.isi, "1.05");
    EXPECT_EQ(o.seIsi, "0.020");
    EXPECT_EQ(o.ci, "99%");
    EXPECT_EQ(o.id, "run5");
    EXPECT_EQ(o.tcritPath, "/t.txt");
    EXPECT_TRUE(o.tomenson && o.json);
    EXPECT_EQ(ParseCommandLine({"calibrate", "--ci", "80%", "--help"}).command, CliCommand::Help);
}

TEST(CliOptions, DefaultTCritIsBesideTheExecutableElseInTheShareFolder) {
    const fs::path root =
        fs::path(::testing::TempDir()) / ("morvane_tcrit_search-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share" / "morvane");
    const fs::path beside = root / "bin" / "tcrit.txt";
    const fs::path installed = root / "share" / "morvane" / "tcrit.txt";
    EXPECT_EQ(DefaultTCritPath(root / "bin"), beside); // neither: the message names this one
    std::ofstream(installed) << "0\n";
    EXPECT_EQ(fs::weakly_canonical(DefaultTCritPath(root / "bin")), installed);
    std::ofstream(beside) << "0\n";
    EXPECT_EQ(DefaultTCritPath(root / "bin"), beside);
    fs::remove_all(root);
}

} // namespace
} // namespace morvane
