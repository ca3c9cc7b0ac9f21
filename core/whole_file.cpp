#include "whole_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace morvane {

WholeFile ReadWholeFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return {{}, WholeFileProblem::NotOpened};
    // Only a plain file has a size, so a folder or a pipe is never opened: reading a pipe could
    // wait for ever.
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kLargestReadableFile)
        return {{}, WholeFileProblem::NotRead};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {{}, WholeFileProblem::NotOpened};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return {{}, WholeFileProblem::NotRead};
    return {std::move(bytes).str(), WholeFileProblem::None};
}

} // namespace morvane
