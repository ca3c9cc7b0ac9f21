#pragma once

#include "calibration_records.h"

#include <optional>
#include <string>

namespace morvane {

// What a recovery copy keeps of the data editor: every cell of the grid as typed, the header
// row and the row numbers included, and every field.
struct RecoveryContents {
    GridCells grid;
    EditorFields fields;
    friend bool operator==(const RecoveryContents&, const RecoveryContents&) = default;
};

// The recovery copy of the editor, kept while the user types so that a program that ended
// without saving loses nothing. Lines end in CR LF as in a data file: a first line naming the
// copy, one line NAME,"TEXT" for each field, one line of four quoted cells for each grid row
// (header row first), and a last line "end". Every text is quoted, a quote inside doubled, so
// commas, quotes and any bytes come back as they were.
std::string RecoveryCopyText(const GridCells& grid, const EditorFields& fields);

// The grid and fields of a recovery copy; nothing when the text is not a whole copy (damaged,
// cut short, or something else).
std::optional<RecoveryContents> ReadRecoveryCopy(const std::string& text);

} // namespace morvane
