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
    // A folder or a pipe is never opened: reading a pipe could wait for ever.
    if (!fs::is_regular_file(status))
        return {{}, WholeFileProblem::NotRead};
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        return {{}, WholeFileProblem::NotRead};
    if (size > kLargestReadableFile)
        return {{}, WholeFileProblem::TooLarge};
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
