#pragma once

#include "command_line.h"

#include <cstdio>
#include <filesystem>

namespace morvane {

// The commands of morvane-cli that calibrate a data file. Each prints the messages of the run
// to err as "TITLE: TEXT" lines and returns the exit status.

// `calibrate`: the results report, or with --json the settings, results, messages and checks.
int RunCalibrateCommand(const CalibrateOptions& options,
                        const std::filesystem::path& executableFolder, std::FILE* out,
                        std::FILE* err);

// `plot`: writes the calibration plot as SVG to --out.
int RunPlotCommand(const CalibrateOptions& options, const std::filesystem::path& executableFolder,
                   std::FILE* err);

// `checks`: the guideline checks as a text table; 0 when the calibration meets the criteria, 3
// when it does not or could not be judged.
int RunChecksCommand(const CalibrateOptions& options, const std::filesystem::path& executableFolder,
                     std::FILE* out, std::FILE* err);

// `register list`, `register show ID` and `register export`: read the lot register, never
// write it; 1 when it is refused or holds no record of the id.
int RunRegisterCommand(CliCommand command, const CalibrateOptions& options, std::FILE* out,
                       std::FILE* err);

} // namespace morvane
