#pragma once

#include "calibration_session.h"
#include "register_record.h"

#include <string>
#include <vector>

namespace morvane {

// Who records, where and when; the front end fills it (RecordingContextNow for the clock, the
// login name and the host name of this machine).
struct RecordingContext {
    std::string recordedAtUtc;
    std::string loginName;
    std::string hostName;
};
RecordingContext RecordingContextNow();

// The record of the session's last run (which must have reached the engine: its report shown),
// with the grid and messages of that run. The data set text is the data file the grid and the
// header fields would be saved as, in UTF-8; its SHA-256 is that of the file's own bytes
// (Windows-1252), so it matches the digest of the same data set saved to disk. Throws
// RegisterError when the data set cannot be kept as a data file.
RegisterRecord RecordOfLastRun(const CalibrationSession& session, const GridCells& grid,
                               const std::vector<Message>& messages,
                               const RecordingContext& context);

// Reads a record's data set back as File > Open reads a data file; false after a message.
bool ReadDataSetOfRecord(const RegisterRecord& record, CalibrationDataSet& data, MessageSink& sink);

} // namespace morvane
