// The grid entry of the data editor: the cell being edited follows clicks and arrow keys, a
// typed value goes into the edit box above the grid and Enter puts it in the marked cell and
// moves the marking down, and the Tag column offers its list of Abnormal and Normal.
#include "editor_window.h"

#include "data_grid.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>

namespace morvane {

void EditorWindow::gridClicked() {
    if (Grid1->currentGridCol() == DataGrid::kTagCol) {
        showTagList();
        return;
    }
    Combotag->hide();
    PreviousCol = CurrentCol;
    PreviousRow = CurrentRow;
    CurrentCol = Grid1->currentGridCol();
    CurrentRow = Grid1->currentGridRow();
    Grid1->setMarked(PreviousRow, PreviousCol, false);
    RefreshPosition();
}

void EditorWindow::cellMovedByKeys(int row, int col) {
    // The keys move the cell being edited along with the grid's current cell.
    Combotag->hide();
    Grid1->setMarked(CurrentRow, CurrentCol, false);
    CurrentRow = row;
    CurrentCol = col;
    if (CurrentCol != DataGrid::kTagCol)
        Grid1->setMarked(CurrentRow, CurrentCol, true);
}

void EditorWindow::showTagList() {
    placeTagList();
    Combotag->setCurrentIndex(Combotag->findText(Grid1->text(Grid1->currentGridRow(), 1)));
    Combotag->show();
    Combotag->raise();
}

void EditorWindow::placeTagList() {
    const QRect cell = Grid1->cellRect(Grid1->currentGridRow(), DataGrid::kTagCol, this);
    Combotag->setGeometry(cell.left(), cell.top(), cell.width(), Combotag->height());
}

void EditorWindow::tagChosen() {
    if (Grid1->currentGridCol() != DataGrid::kTagCol)
        return;
    const int row = Grid1->currentGridRow();
    changeGrid(row, DataGrid::kTagCol,
               [&] { Grid1->setText(row, DataGrid::kTagCol, Combotag->currentText()); });
    const bool hadFocus = Combotag->hasFocus();
    Combotag->hide();
    if (hadFocus)
        Grid1->setFocus();
}

void EditorWindow::typedIntoGrid(const QString& text) {
    txtGrid->setFocus();
    txtGrid->insert(text);
}

void EditorWindow::enterPressed() {
    const int row = Grid1->currentGridRow();
    const int col = Grid1->currentGridCol();
    if (row >= 1 && col >= 1) {
        Grid1->setMarked(row, col, false);
        if (col != DataGrid::kTagCol)
            changeGrid(row, col, [&] { Grid1->setText(row, col, txtGrid->text()); });
    }
    // After a click on a tag cell the grid's current cell is not the marked one.
    Grid1->setMarked(CurrentRow, CurrentCol, false);
    CurrentRow = std::min(CurrentRow + 1, kMaxSamples);
    RefreshPosition();
    txtGrid->setFocus();
    txtGrid->clear();
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // Only the edit box is watched. Undo and Redo in it take back changes of the grid, not of
    // the box's text.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y))
            return true;
    }
    if (event->type() == QEvent::FocusIn) {
        // A mouse click places the cursor after the focus arrives, so the selection waits.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, txtGrid, &QLineEdit::selectAll);
        else
            txtGrid->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace morvane
