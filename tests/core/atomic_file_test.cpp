#include "atomic_file.h"
#include "data_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace morvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

struct AtomicFileTest : ::testing::Test {
    testing::TempFolder folder;
    fs::path target = folder.write("file.txt", "the old contents");

    // Only the target itself is in the folder: no temporary file was left behind.
    void expectNoLeftovers() const {
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
    }

    // Runs `write` in a child process whose files may not grow beyond `limit` bytes, as on a
    // full disk; returns what the child reports through its exit status.
    template <typename Write> int withFileSizeLimit(rlim_t limit, Write write) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit size{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
            ::_exit(write());
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(AtomicFileTest, ReplacesTheFileWhenEverythingWasWritten) {
    EXPECT_EQ(WriteFileAtomically(target.string(), "new\r\ncontents\r\n"), "");
    EXPECT_EQ(ReadBytes(target), "new\r\ncontents\r\n");
    const fs::path fresh = folder.path / "fresh.txt";
    EXPECT_EQ(WriteFileAtomically(fresh.string(), ""), "");
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_EQ(fs::status(fresh).permissions() & fs::perms::group_read, fs::perms::group_read)
        << "a new file gets the usual permissions, not the temporary file's private ones";
}

TEST_F(AtomicFileTest, AFullDiskLeavesTheOldFileIntact) {
    const std::string big(100000, 'x');
    const int reported = withFileSizeLimit(
        1000, [&] { return WriteFileAtomically(target.string(), big).empty() ? 1 : 0; });
    EXPECT_EQ(reported, 0) << "the failed write is reported";
    EXPECT_EQ(ReadBytes(target), "the old contents");
    expectNoLeftovers();
}

TEST_F(AtomicFileTest, AFullDiskWhileSavingDataShowsAMessage) {
    GridCells grid;
    for (int row = 1; row <= 130; ++row) {
        grid.at(row, 1) = row % 3 ? "Abnormal" : "Normal";
        grid.at(row, 2) = "25.123456789";
        grid.at(row, 3) = "30.987654321";
    }
    const int reported = withFileSizeLimit(500, [&] {
        CalibrationDataSet data;
        RecordingMessageSink sink;
        const bool saved = SaveDataFile(target.string(), grid, EditorFields{}, data, sink);
        return !saved && sink.messages.size() == 1 && sink.messages[0].title == "Save Data As..."
                   ? 0
                   : 1;
    });
    EXPECT_EQ(reported, 0);
    EXPECT_EQ(ReadBytes(target), "the old contents");
    expectNoLeftovers();
}

TEST_F(AtomicFileTest, PlacesThatCannotBeWrittenAreReported) {
    EXPECT_NE(WriteFileAtomically("/proc/morvane-test.txt", "x"), "") << "a read-only file system";
    EXPECT_NE(WriteFileAtomically((target / "inside.txt").string(), "x"), "")
        << "a folder that is a file";
    EXPECT_NE(WriteFileAtomically(folder.path.string(), "x"), "") << "a folder as the target";
    EXPECT_EQ(ReadBytes(target), "the old contents");
    expectNoLeftovers();
}

} // namespace
} // namespace morvane
