#include "cli_app.h"

#include "cli_commands.h"
#include "command_line.h"
#include "message_printing.h"
#include "program_files.h"
#include "version.h"

namespace morvane {

namespace fs = std::filesystem;

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
    case CliCommand::RegisterList:
    case CliCommand::RegisterShow:
    case CliCommand::RegisterExport:
        return RunRegisterCommand(parsed.command, parsed.options, out, err);
    case CliCommand::Calibrate:
        break;
    }
    return RunCalibrateCommand(parsed.options, executableFolder, out, err);
}

} // namespace morvane
