// Saving replaces a file only once everything was written, and respects write protection,
// symbolic links, the umask and an old file's mode and group.
#include "atomic_file.h"
#include "data_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <grp.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace morvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
constexpr uid_t kNobody = 65534; // an unprivileged user and group: root may write any file

// Runs `check` in a child process, as kNobody owning the folder when root, for its exit status;
// the child's files may not grow beyond `sizeLimit` bytes, as on a full disk.
template <typename Check> int asUser(const fs::path& folder, Check check, rlim_t sizeLimit) {
    if (const pid_t child = ::fork(); child != 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (::geteuid() == 0 && (::chown(folder.c_str(), kNobody, kNobody) || ::setgroups(0, nullptr) ||
                             ::setgid(kNobody) || ::setuid(kNobody)))
        ::_exit(99);
    const rlimit size{sizeLimit, sizeLimit};
    ::setrlimit(RLIMIT_FSIZE, &size);
    ::_exit(check());
}

struct AtomicSaving : ::testing::Test {
    testing::TempFolder folder;
    std::string at(const char* name) const { return (folder.path / name).string(); }
};

// A write-protected file, a full disk or a place that cannot be written at all is refused; the
// old file stays as it was and no temporary file is left beside it.
TEST_F(AtomicSaving, RefusedWritesLeaveTheOldFileIntact) {
    auto refusedWrites = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const std::string locked = folder.write("locked.txt", "old");
        const std::string full = folder.write("full.txt", "old");
        ::chmod(locked.c_str(), 0444);
        const bool refused = !WriteFileAtomically(locked, "new").empty() &&
                             !WriteFileAtomically(full, std::string(100000, 'x')).empty();
        return refused && ReadBytes(locked) == "old" && ReadBytes(full) == "old" ? 0 : 1;
    };
    EXPECT_EQ(asUser(folder.path, refusedWrites, 1000), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 2);
    EXPECT_NE(WriteFileAtomically("/proc/morvane-test.txt", "x"), "") << "a read-only file system";
    EXPECT_NE(WriteFileAtomically(folder.path.string(), "x"), "") << "a folder as the target";
}

TEST_F(AtomicSaving, FollowsLinksAndTheUmaskAndKeepsAnOldFilesModeAndGroup) {
    const mode_t umask = ::umask(027);
    EXPECT_EQ(WriteFileAtomically(at("new.txt"), "new"), "");
    ::umask(umask);
    EXPECT_EQ(fs::status(at("new.txt")).permissions(), fs::perms(0640));
    fs::create_symlink("new.txt", at("link.txt"));
    const gid_t group = ::geteuid() == 0 ? kNobody : ::getegid();
    ASSERT_EQ(::chown(at("new.txt").c_str(), static_cast<uid_t>(-1), group), 0);
    ASSERT_EQ(::chmod(at("new.txt").c_str(), 0604), 0);
    EXPECT_EQ(WriteFileAtomically(at("link.txt"), "through the link\r\n"), "");
    EXPECT_EQ(ReadBytes(at("new.txt")), "through the link\r\n");
    struct stat after {};
    ::stat(at("new.txt").c_str(), &after);
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_EQ(after.st_gid, group);
    fs::create_symlink("loop.txt", at("loop.txt")); // a link to itself is replaced, not followed
    EXPECT_EQ(WriteFileAtomically(at("loop.txt"), "x"), "");
    EXPECT_EQ(ReadBytes(at("loop.txt")), "x");
    const fs::path here = fs::current_path(); // a bare file name is saved in the current folder
    fs::current_path(folder.path);
    EXPECT_EQ(WriteFileAtomically("bare.txt", "x"), "");
    fs::current_path(here);
    EXPECT_EQ(ReadBytes(at("bare.txt")), "x");
}

TEST_F(AtomicSaving, ACrashLeavesAHiddenPartialFile) {
    auto crashWhileWriting = [&] {
        std::signal(SIGXFSZ, [](int) { ::_exit(0); }); // the disk is full: the program ends
        return WriteFileAtomically(at("data.txt"), std::string(100000, 'x')).empty() ? 1 : 2;
    };
    ASSERT_EQ(asUser(folder.path, crashWhileWriting, 1000), 0);
    const std::string left = fs::directory_iterator(folder.path)->path().filename().string();
    EXPECT_TRUE(left.starts_with(".data.txt.") && left.ends_with(".partial")) << left;
    fs::copy_file(MORVANE_TEST_DATA_DIR "/ui_calibration.txt", at(left.c_str()),
                  fs::copy_options::overwrite_existing); // a whole data set, yet not to be opened
    CalibrationDataSet data;
    RecordingMessageSink sink;
    ReadDataFile(at(left.c_str()), data, sink);
    EXPECT_EQ(sink.messages, std::vector{DataErrorMessage(kCantOpenFileText)}) << "never read";
}

} // namespace
} // namespace morvane
