#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace morvane {

namespace {

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

} // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return "it is a folder";
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return systemReason();
    // A new file gets the usual permissions rather than mkstemp's private ones; an existing
    // file keeps its own.
    const fs::perms permissions = fs::exists(target, ec)
                                      ? fs::status(target, ec).permissions()
                                      : fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read | fs::perms::others_read;
    fs::permissions(temporary, permissions, ec);
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    std::string reason = written ? std::string() : systemReason();
    if (::close(fd) != 0 && reason.empty())
        reason = systemReason();
    if (reason.empty() && std::rename(temporary.c_str(), path.c_str()) != 0)
        reason = systemReason();
    if (!reason.empty())
        ::unlink(temporary.c_str());
    return reason;
}

} // namespace morvane
