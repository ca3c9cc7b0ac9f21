#include "program_files.h"

#include <system_error>

namespace morvane {

namespace fs = std::filesystem;

fs::path DefaultTCritPath(const fs::path& executableFolder) {
    const fs::path beside = executableFolder / "tcrit.txt";
    const fs::path installed = executableFolder / ".." / "share" / "morvane" / "tcrit.txt";
    std::error_code error;
    if (!fs::exists(beside, error) && fs::exists(installed, error))
        return installed;
    return beside;
}

fs::path ExecutableFolder(const char* argv0) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    const fs::path given = fs::absolute(fs::path(argv0 ? argv0 : ""), error);
    return error ? fs::path(".") : given.parent_path();
}

} // namespace morvane
