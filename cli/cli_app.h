#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace morvane {

// Runs morvane-cli: the report (or the JSON document) goes to out, every message to err as a
// "TITLE: TEXT" line the moment it is shown. Returns the exit status. The C streams are used, not
// the iostreams, so that the program does not set up the standard iostream objects at start.
int RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& executableFolder,
           std::FILE* out, std::FILE* err);

} // namespace morvane
