#pragma once

#include "command_line.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace morvane {

// Exit statuses of morvane-cli.
inline constexpr int kExitReported = 0; // the report (or JSON) was printed
inline constexpr int kExitStopped = 1;  // the data file was unreadable or an input check stopped
inline constexpr int kExitUsage = 2;    // the command line was wrong
inline constexpr int kExitCriteriaNotMet = 3; // checks: the guideline criteria are not met

// The critical t table used when --tcrit is not given: tcrit.txt beside the executable, else
// ../share/morvane/tcrit.txt from the executable's folder; the first when neither exists.
std::filesystem::path DefaultTCritPath(const std::filesystem::path& executableFolder);

// The folder of the running executable.
std::filesystem::path ExecutableFolder(const char* argv0);

// Runs morvane-cli: the report (or the JSON document) goes to out, every message to err as a
// "TITLE: TEXT" line the moment it is shown. Returns the exit status. The C streams are used, not
// the iostreams, so that the program does not set up the standard iostream objects at start.
int RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& executableFolder,
           std::FILE* out, std::FILE* err);

} // namespace morvane
