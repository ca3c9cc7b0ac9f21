#pragma once

#include "calibration_records.h"
#include "message.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QUndoStack;

namespace morvane {

class DataGrid;

// The data editor: the grid of samples with its edit box and tag list on the left, the
// preparation names, the reference ISI and the calibration parameters on the right, and the
// "Calibrate" button. Values reach the grid only through the edit box and the Enter key, tags
// only through the tag list.
class EditorWindow : public QWidget {
    Q_OBJECT

public:
    // Loads the window with its designed texts; makes the program's folder the current folder.
    EditorWindow(CalibrationDataSet& data, MessageSink& messages, QWidget* parent = nullptr);

    // The client area the controls are placed in, in pixels: the designed one with the line of
    // row counts under the grid.
    QSize designedClientSize() const;

    // Makes (CurrentRow, CurrentCol) the grid's current cell and marks it, unless it is a tag.
    void RefreshPosition();
    // Writes the header row, the row numbers and the data set's samples into the grid.
    void WriteDataToGrid();
    // Deletes grid row delrow; the samples below move up one row.
    void DeleteRow(int delrow);
    // Edit > Delete Row: the selection must be one entire data row; asks before deleting it.
    void deleteSelectedRow();

    GridCells gridCells() const;
    // Puts every cell back as given, the header row and the row numbers included.
    void setGridCells(const GridCells& cells);
    EditorFields fields() const;
    void setFields(const EditorFields& fields);

    // Whether the grid or a field the data file keeps (the preparation names and the
    // reference ISI with its standard error) differs from when markUnchanged was last called.
    bool isChanged() const;
    // The editor's contents as they stand become those of the data file opened or saved.
    void markUnchanged();

    // The grid's changes as undo steps: each Enter entry, chosen tag, paste and deleted row.
    QUndoStack* undoStack() const { return mUndoSteps; }

    // Puts the keyboard focus in the edit box above the grid, where typed values go.
    void focusEditBox();

    int currentRow() const { return CurrentRow; }
    int currentCol() const { return CurrentCol; }

signals:
    // "Calibrate" was pressed.
    void calibrateRequested();
    // A cell of the grid or a field changed, by the user or by the program.
    void contentsChanged();
    // markUnchanged was called: the editor holds what was last opened or saved.
    void markedUnchanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    // Places the controls as designed at the designed size; a larger editor gives its grid the
    // extra height, and the extra width the grid needs for the application font.
    void arrangeControls();
    void placeControls(int widening);
    void fitTexts(int widening, int extraWidth);
    void giveCaptionsTheirRoom();
    void fitGrid(bool roomy);
    int gridWidthForFont(const QFont& font, bool roomy);
    void placeRowCounts();
    void showRowCounts();
    void setDesignedTabOrder();
    void connectControls();
    void connectChangeSignals();

    void gridClicked();
    void cellMovedByKeys(int row, int col);
    void showTagList();
    void placeTagList();
    void tagChosen();
    void typedIntoGrid(const QString& text);
    void enterPressed();
    bool isParameterField(const QWidget* widget) const;
    // Makes a change of the grid, made at (row, col), one undo step.
    void changeGrid(int row, int col, const std::function<void()>& change);
    // Makes the change from the cells before to the grid as it stands one undo step.
    void recordGridChange(const GridCells& before, int row, int col);
    void showUndoneCells(const GridCells& cells, int row, int col);

    CalibrationDataSet& mData;
    MessageSink& mMessages;

    QLineEdit* txtGrid;
    DataGrid* Grid1;
    QLabel* Label10;
    QLineEdit* txtid;
    QLabel* Label1;
    QLineEdit* txtIRP;
    QLabel* Label2;
    QLineEdit* txtWRP;
    QLabel* Label3;
    QLineEdit* txtISI;
    QLabel* Label4;
    QLineEdit* txtSEISI;
    QLabel* Label5;
    QLineEdit* txtLowerINR;
    QLabel* Label6;
    QLineEdit* txtUpperINR;
    QLabel* Label7;
    QLineEdit* txtSDReg;
    QComboBox* ComboCI;
    QLabel* Label8;
    QLabel* Label9;
    QCheckBox* Chkbox1;
    QPushButton* Command1;
    QComboBox* Combotag;
    QPushButton* cmdDefault;
    QLabel* lblRowCounts;
    QUndoStack* mUndoSteps;

    // The grid and the fields as last opened or saved.
    GridCells mUnchangedGrid;
    EditorFields mUnchangedFields;

    // The cell being edited, and the one before the last click.
    int CurrentCol = 1;
    int CurrentRow = 1;
    int PreviousCol = 0;
    int PreviousRow = 0;
};

} // namespace morvane
