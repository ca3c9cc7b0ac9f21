#pragma once

#include "calibration_records.h"

#include <QTableWidget>

namespace morvane {

// The editor's grid of 131 rows by 4 columns, addressed in grid coordinates: row 0 is the fixed
// header row and column 0 the fixed column of row numbers (drawn as the table's headers), rows
// 1 to 130 and columns 1 (tag), 2 (y) and 3 (x) are the data cells. The grid never edits a cell
// itself; the data editor writes into it. A y or x cell whose text is no usable time is drawn in
// red, its tooltip saying why; the text itself is kept as written.
class DataGrid : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int kRows = kGridRows;
    static constexpr int kCols = kGridColumns;
    static constexpr int kTagCol = 1;

    explicit DataGrid(QWidget* parent = nullptr);

    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    GridCells cells() const;
    void setCells(const GridCells& cells);

    // The current cell in grid coordinates (0 when there is none).
    int currentGridRow() const;
    int currentGridCol() const;
    void setCurrentGridCell(int row, int col);

    // A data cell's background: marked (the button-face colour) or the grid's default.
    void setMarked(int row, int col, bool marked);

    // The cell's rectangle in the coordinates of the given widget.
    QRect cellRect(int row, int col, const QWidget* in) const;

    // The column widths as designed: so many space characters of the grid's font.
    void applyDesignedColumnWidths();
    // Widens the y and x columns, where needed, to show the text whole.
    void widenTimeColumnsFor(const QString& text);

    // Tab- or comma-separated rows, pasted from the current cell down and to the right: tags
    // only as Abnormal or Normal, values as typed, nothing beyond row 130 or column 3.
    void pasteText(const QString& text);
    // The selected cells as tab-separated rows.
    QString selectedText() const;

signals:
    // The text of a cell changed, whoever changed it.
    void cellTextChanged();
    // The arrow keys (or Page Up/Down, Home, End) moved the current cell.
    void currentCellMovedByKeys(int row, int col);
    // A printable key was pressed while the grid had the focus.
    void textTyped(const QString& text);
    // A paste was refused whole, for the reason given; the grid is unchanged.
    void pasteRefused(const QString& reason);
    // A paste from (row, col) changed the grid, whose cells were before as given.
    void pasted(const GridCells& before, int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTableWidgetItem* dataItem(int row, int col) const;
    void showTimeProblem(QTableWidgetItem* cell);
    void highlightOnlyRanges();
    QString mCornerText; // the header cell above the row numbers
};

} // namespace morvane
