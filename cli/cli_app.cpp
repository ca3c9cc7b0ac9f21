#include "cli_app.h"

#include "cli_commands.h"
#include "file_calibration.h"
#include "version.h"

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

int RunCli(const std::vector<std::string>& arguments, const fs::path& executableFolder,
           std::FILE* out, std::FILE* err) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    switch (parsed.command) {
    case CliCommand::Help:
        WriteText(out, UsageText());
        return kExitReported;
    case CliCommand::Version:
        WriteText(out,
                  std::string("morvane-cli ") + kProgramVersion + " (" + kVersionCaption + ")\n");
        return kExitReported;
    case CliCommand::UsageError:
        WriteText(err, "morvane-cli: " + parsed.error + "\n\n" + UsageText());
        return kExitUsage;
    case CliCommand::Plot:
        return RunPlotCommand(parsed.options, executableFolder, err);
    case CliCommand::Checks:
        return RunChecksCommand(parsed.options, executableFolder, out, err);
    case CliCommand::Calibrate:
        break;
    }
    return RunCalibrateCommand(parsed.options, executableFolder, out, err);
}

} // namespace morvane
