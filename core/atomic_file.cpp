#include "atomic_file.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {

namespace {

namespace fs = std::filesystem;

std::string systemReason() {
    return std::strerror(errno);
}

// Writes all bytes to an open descriptor, retrying short writes.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a path names: symbolic links (also a chain of them) are followed, so that saving
// replaces the file a link points to and the link stays a link.
fs::path followLinks(fs::path path) {
    constexpr int kMostLinks = 40; // as the system's own limit on nested links
    std::error_code ec;
    for (int link = 0; link < kMostLinks && fs::is_symlink(path, ec); ++link) {
        const fs::path target = fs::read_symlink(path, ec);
        if (ec)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

// Creates the temporary file beside the target as ".NAME.RANDOM.partial": hidden, and ending in
// neither the target's extension nor ".txt", so that one left by a crash is recognisable and is
// never offered as a data or results file. Mode 0666 masked by the user's umask, as any new file.
int createTemporary(const fs::path& target, std::string& temporary) {
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::random_device random;
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::array<char, 16> tag{};
        std::snprintf(tag.data(), tag.size(), "%08x", static_cast<unsigned>(random()));
        temporary =
            (folder / ("." + target.filename().string() + "." + tag.data() + ".partial")).string();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The replacement of an existing file keeps its mode and, where the user may set it, its group.
void keepModeAndGroup(int fd, const struct stat& existing) {
    // A group the user does not belong to cannot be given; the file then has the user's own.
    [[maybe_unused]] const int groupKept = ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
    [[maybe_unused]] const int modeKept = ::fchmod(fd, existing.st_mode & 07777);
}

} // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const fs::path target = followLinks(path);
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return "it is a folder";
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // The rename would replace a file the user may not write (the folder allows it): such a
    // file is refused and left as it is.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return systemReason();
    std::string temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return systemReason();
    if (exists)
        keepModeAndGroup(fd, existing);
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    std::string reason = written ? std::string() : systemReason();
    if (::close(fd) != 0 && reason.empty())
        reason = systemReason();
    if (reason.empty() && std::rename(temporary.c_str(), target.c_str()) != 0)
        reason = systemReason();
    if (!reason.empty())
        ::unlink(temporary.c_str());
    return reason;
}

bool IsPartialSaveFile(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return name.starts_with('.') && name.ends_with(".partial");
}

} // namespace morvane
