#pragma once

#include "calibration_records.h"
#include "message.h"

#include <string>

namespace morvane {

inline constexpr const char* kCantOpenFileText = "Can't open file";

// Replaces the data set from a data file: four header fields, then one sample of tag, reference
// PT and working PT per line. Failures are reported through the sink in the program's words;
// after a failure the data set holds the header fields read and the complete samples read
// before it.
void ReadDataFile(const std::string& path, CalibrationDataSet& data, MessageSink& sink);

// Reads the grid and the editor's header fields into the data set and writes the data file.
// The file is written to a temporary file beside it and renamed over the target only when
// complete, so a failed save never damages the file that was there. Returns true when saved.
bool SaveDataFile(const std::string& path, const GridCells& grid, const EditorFields& fields,
                  CalibrationDataSet& data, MessageSink& sink);

} // namespace morvane
