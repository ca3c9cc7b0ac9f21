#include "grid_change.h"

#include <utility>

namespace morvane {

GridChange::GridChange(GridCells before, GridCells after, int row, int col, ShowCells show)
    : mBefore(std::move(before)), mAfter(std::move(after)), mRow(row), mCol(col),
      mShow(std::move(show)) {}

void GridChange::undo() {
    mShow(mBefore, mRow, mCol);
}

void GridChange::redo() {
    if (std::exchange(mMade, false))
        return;
    mShow(mAfter, mRow, mCol);
}

} // namespace morvane
