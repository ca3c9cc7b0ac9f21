#pragma once

#include "calibration_run.h"
#include "command_line.h"
#include "message.h"
#include "plot_options.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace morvane {

// Writes text to a C stream as it stands.
void WriteText(std::FILE* stream, std::string_view text);

// Prints each message as the line "TITLE: TEXT" the moment it is shown, and keeps it.
class PrintingMessageSink : public MessageSink {
public:
    explicit PrintingMessageSink(std::FILE* err) : mErr(err) {}

    MessageAnswer show(const Message& message) override;
    const std::vector<Message>& messages() const { return mMessages; }

private:
    std::FILE* mErr;
    std::vector<Message> mMessages;
};

// The records of one calibration of a data file, as the desktop program would hold them after
// File > Open and "Calibrate".
struct FileCalibration {
    Calibration calibration;
    EditorFields fields;
    PlotOptions plot;
};

// Reads the critical t table and the data file as File > Open does, applies the command line's
// options to the editor fields and the plot options, and calibrates as "Calibrate" does. The
// outcome of a run that reached the engine, or nothing when the data file could not be read or
// the run stopped at an input check (its messages are shown either way).
std::optional<RunOutcome> OpenAndCalibrate(const CalibrateOptions& options,
                                           const std::filesystem::path& executableFolder,
                                           FileCalibration& session, MessageSink& sink);

} // namespace morvane
