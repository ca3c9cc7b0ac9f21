#pragma once

#include "calibration_records.h"

#include <QUndoCommand>

#include <functional>

namespace morvane {

// One change of the editor's grid as an undo step: the grid's cells before and after it, and
// the cell the change was made at, which becomes the marked cell again on undo and redo.
class GridChange : public QUndoCommand {
public:
    // Puts a grid's cells back and marks the cell at (row, col).
    using ShowCells = std::function<void(const GridCells& cells, int row, int col)>;

    // The change has been made already: the first redo, from pushing it, leaves the grid alone.
    GridChange(GridCells before, GridCells after, int row, int col, ShowCells show);

    void undo() override;
    void redo() override;

private:
    GridCells mBefore;
    GridCells mAfter;
    int mRow;
    int mCol;
    ShowCells mShow;
    bool mMade = true;
};

} // namespace morvane
