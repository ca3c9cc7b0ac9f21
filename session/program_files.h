#pragma once

#include <filesystem>

namespace morvane {

// Exit statuses of morvane-cli.
inline constexpr int kExitReported = 0; // the report (or JSON) was printed
inline constexpr int kExitStopped = 1;  // the data file was unreadable or an input check stopped
inline constexpr int kExitUsage = 2;    // the command line was wrong
inline constexpr int kExitCriteriaNotMet = 3; // checks: the guideline criteria are not met

// The critical t table a program uses when no other is named: tcrit.txt beside the executable,
// else ../share/morvane/tcrit.txt from the executable's folder; the first when neither exists.
std::filesystem::path DefaultTCritPath(const std::filesystem::path& executableFolder);

// The folder of the running executable; argv0 is used only where /proc/self/exe is not there.
std::filesystem::path ExecutableFolder(const char* argv0);

} // namespace morvane
