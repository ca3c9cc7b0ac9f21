#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// What became of reading a file whole.
enum class WholeFileProblem {
    None,
    NotOpened, // missing, or not to be opened by this user
    NotRead,   // a folder or another thing that is no plain file, too large, or a failed read
};

struct WholeFile {
    std::string bytes;
    WholeFileProblem problem = WholeFileProblem::None;
};

// The largest file the program reads: far beyond any data file or critical t table.
inline constexpr std::uintmax_t kLargestReadableFile = 64u * 1024u * 1024u;

// Reads a file whole into memory; its bytes are empty when a problem is given.
WholeFile ReadWholeFile(const std::string& path);

} // namespace morvane
