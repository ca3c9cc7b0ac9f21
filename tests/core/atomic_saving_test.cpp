// Saving respects write protection, symbolic links, the umask and an old file's mode and group.
#include "atomic_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace morvane {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534; // an unprivileged user and group: root may write any file

// Runs `check` in a child process, as kNobody owning the folder when root, for its exit status.
template <typename Check> int asUser(const fs::path& folder, Check check) {
    if (const pid_t child = ::fork(); child != 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (::geteuid() == 0 && (::chown(folder.c_str(), kNobody, kNobody) || ::setgroups(0, nullptr) ||
                             ::setgid(kNobody) || ::setuid(kNobody)))
        ::_exit(99);
    ::_exit(check());
}

struct AtomicSaving : ::testing::Test {
    testing::TempFolder folder;
    std::string at(const char* name) const { return (folder.path / name).string(); }
};

TEST_F(AtomicSaving, RefusesAWriteProtectedFileAndLeavesItUntouched) {
    auto writeOverLockedFile = [&] {
        const std::string locked = folder.write("locked.txt", "old");
        ::chmod(locked.c_str(), 0444);
        const bool refused = !WriteFileAtomically(locked, "new").empty();
        return refused && testing::ReadBytes(locked) == "old" ? 0 : 1;
    };
    EXPECT_EQ(asUser(folder.path, writeOverLockedFile), 0);
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
    EXPECT_EQ(WriteFileAtomically(at("link.txt"), "through the link"), "");
    EXPECT_EQ(testing::ReadBytes(at("new.txt")), "through the link");
    struct stat after {};
    ::stat(at("new.txt").c_str(), &after);
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_EQ(after.st_gid, group);
}

TEST_F(AtomicSaving, ACrashLeavesAHiddenPartialFile) {
    auto crashWhileWriting = [&] {
        std::signal(SIGXFSZ, [](int) { ::_exit(0); }); // the disk is full: the program ends
        const rlimit size{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &size);
        return WriteFileAtomically(at("data.txt"), std::string(100000, 'x')).empty() ? 1 : 2;
    };
    ASSERT_EQ(asUser(folder.path, crashWhileWriting), 0);
    const std::string left = fs::directory_iterator(folder.path)->path().filename().string();
    EXPECT_TRUE(left.starts_with(".data.txt.") && left.ends_with(".partial")) << left;
}

} // namespace
} // namespace morvane
