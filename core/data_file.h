#pragma once

#include "calibration_records.h"
#include "message.h"

#include <optional>
#include <string>

namespace morvane {

inline constexpr const char* kCantOpenFileText = "Can't open file";

// Replaces the data set from a data file: four header fields, then one sample of tag, reference
// PT and working PT per line. Failures are reported through the sink in the program's words;
// after a failure the data set holds the header fields read and the complete samples read
// before it. A path whose folder does not exist changes nothing and shows nothing.
enum class FileReading {
    Read,          // the whole file was read
    FolderMissing, // the folder of the path does not exist: nothing was read or shown
    Refused,       // a message said why the file could not be read (wholly or in part)
};
FileReading ReadDataFile(const std::string& path, CalibrationDataSet& data, MessageSink& sink);

// The same reading of a data file's bytes already in memory (a data set kept in the register).
FileReading ReadDataFileBytes(std::string bytes, CalibrationDataSet& data, MessageSink& sink);

// The start-up texts of the three limit fields: the text forms of 1.5, 4.5 and 3.
void ResetLimitFields(EditorFields& fields);

// The editor fields as File > Open leaves them: the editor reloaded with its designed texts, the
// header fields of the data set just read, the limit fields reset, and the file's name (without
// its folder) as the calibration identifier.
EditorFields EditorFieldsAfterOpening(const CalibrationDataSet& data, const std::string& fileName);

// Reads the grid and the editor's header fields into the data set and writes the data file.
// The file is written to a temporary file beside it and renamed over the target only when
// complete, so a failed save never damages the file that was there. Returns true when saved.
// The bytes SaveDataFile writes (Windows-1252, CR LF line ends), with the data set read from the
// grid and the header fields on the way; nothing, after a message, when they cannot be formed.
std::optional<std::string> DataFileBytes(const GridCells& grid, const EditorFields& fields,
                                         CalibrationDataSet& data, MessageSink& sink);

bool SaveDataFile(const std::string& path, const GridCells& grid, const EditorFields& fields,
                  CalibrationDataSet& data, MessageSink& sink);

} // namespace morvane
