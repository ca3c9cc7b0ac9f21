// Saving respects the file system: write protection, symbolic links, the umask, an old file's
// mode and group, and a recognisable name for a temporary file a crash leaves behind.
#include "atomic_file.h"
#include "data_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <grp.h>
#include <regex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace morvane {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534; // an unprivileged user and group

// Runs `check` in a child process and returns its exit status. Root may write any file, so a
// child of root first hands the folder to an unprivileged user and becomes that user.
template <typename Check> int inChild(const fs::path& folder, Check check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::chown(folder.c_str(), kNobody, kNobody) != 0 || ::setgroups(0, nullptr) != 0 ||
             ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(99);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct AtomicSaving : ::testing::Test {
    testing::TempFolder folder;
    std::string at(const char* name) const { return (folder.path / name).string(); }
};

TEST_F(AtomicSaving, RefusesAWriteProtectedFileAndLeavesItUntouched) {
    const int status = inChild(folder.path, [&] {
        const std::string locked = folder.write("locked.txt", "old");
        ::chmod(locked.c_str(), 0444);
        CalibrationDataSet data;
        RecordingMessageSink sink;
        const bool saved = SaveDataFile(locked, testing::GridOf(testing::WorkedExample()),
                                        EditorFields{}, data, sink);
        const bool told = sink.messages.size() == 1 && sink.messages[0].title == "Save Data As...";
        return !saved && told && testing::ReadBytes(locked) == "old" ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
}

TEST_F(AtomicSaving, ReplacesTheFileALinkPointsTo) {
    const std::string real = folder.write("real.txt", "old");
    fs::create_symlink("real.txt", at("link.txt"));
    EXPECT_EQ(WriteFileAtomically(at("link.txt"), "new"), "");
    EXPECT_TRUE(fs::is_symlink(at("link.txt")));
    EXPECT_EQ(testing::ReadBytes(real), "new");
}

TEST_F(AtomicSaving, NewFilesFollowTheUmaskOldFilesKeepModeAndGroup) {
    const mode_t umask = ::umask(027);
    EXPECT_EQ(WriteFileAtomically(at("new.txt"), "new"), "");
    ::umask(umask);
    EXPECT_EQ(fs::status(at("new.txt")).permissions(), fs::perms(0640));
    const std::string old = folder.write("old.txt", "old");
    const gid_t group = ::geteuid() == 0 ? kNobody : ::getegid();
    ASSERT_EQ(::chown(old.c_str(), static_cast<uid_t>(-1), group), 0);
    ASSERT_EQ(::chmod(old.c_str(), 0604), 0);
    EXPECT_EQ(WriteFileAtomically(old, "new"), "");
    struct stat after {};
    ASSERT_EQ(::stat(old.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_EQ(after.st_gid, group);
}

TEST_F(AtomicSaving, ACrashLeavesAHiddenPartialFile) {
    const int status = inChild(folder.path, [&] {
        std::signal(SIGXFSZ, [](int) { ::_exit(0); }); // the disk fills up: the program ends
        const rlimit size{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &size);
        WriteFileAtomically(at("data.txt"), std::string(100000, 'x'));
        return 1;
    });
    ASSERT_EQ(status, 0);
    const fs::directory_iterator left(folder.path);
    ASSERT_NE(left, fs::directory_iterator());
    const std::string name = left->path().filename().string();
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(\.data\.txt\.\w+\.partial)"))) << name;
}

} // namespace
} // namespace morvane
