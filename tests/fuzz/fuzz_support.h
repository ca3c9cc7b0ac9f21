#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace morvane::fuzzing {

// Stops the run when a property does not hold; libFuzzer keeps the input as a crash. Unlike
// assert() it stays active in optimised builds.
inline void require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "Property violated: %s\n", property);
    std::abort();
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A file in the temporary folder (run_fuzzers.sh gives each run its own); the name carries the
// process id, so parallel fuzzing jobs do not share a file.
inline std::string scratchPath(const std::string& stem) {
    return (std::filesystem::temp_directory_path() /
            (stem + "-" + std::to_string(::getpid()) + ".txt"))
        .string();
}

// Replaces the content of the scratch file `stem` by bytes and returns its path.
inline std::string writeScratchFile(const std::string& stem, std::string_view bytes) {
    const std::string path = scratchPath(stem);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    require(static_cast<bool>(out), "the scratch file can be written");
    return path;
}

// Splits text at every separator; n separators give n + 1 parts.
inline std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string_view::npos;
         start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

} // namespace morvane::fuzzing
