#include "atomic_file.h"
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

// A full disk, or a place that cannot be written at all, leaves the old file as it was.
TEST_F(AtomicFileTest, AFullDiskLeavesTheOldFileIntact) {
    const std::string big(100000, 'x');
    const int reported = withFileSizeLimit(
        1000, [&] { return WriteFileAtomically(target.string(), big).empty() ? 1 : 0; });
    EXPECT_EQ(reported, 0) << "the failed write is reported";
    EXPECT_NE(WriteFileAtomically("/proc/morvane-test.txt", "x"), "") << "a read-only file system";
    EXPECT_NE(WriteFileAtomically(folder.path.string(), "x"), "") << "a folder as the target";
    EXPECT_EQ(ReadBytes(target), "the old contents");
    expectNoLeftovers();
}

} // namespace
} // namespace morvane
