// The data editor driven with the mouse and the keyboard: values typed into the edit box and
// committed with Enter, the marking of the cell being edited, the tag list, pasting and copying.
#include "editor_window.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>

#include <memory>

using namespace morvane;
using namespace morvane::test;

class EditorWindowTest : public QObject {
    Q_OBJECT

    CalibrationDataSet mData;
    RecordingMessageSink mMessages;
    std::unique_ptr<EditorWindow> mEditor;

    DataGrid* grid() const { return child<DataGrid>(mEditor.get(), "Grid1"); }
    QLineEdit* editBox() const { return child<QLineEdit>(mEditor.get(), "txtGrid"); }
    QComboBox* tagList() const { return child<QComboBox>(mEditor.get(), "Combotag"); }
    // Cells as the tables write them: "row,col" or "row,col=text".
    static int rowOf(const QString& cell) { return cell.section(',', 0, 0).toInt(); }
    static int colOf(const QString& cell) {
        return cell.section('=', 0, 0).section(',', 1).toInt();
    }
    void clickCell(const QString& cell) { test::clickCell(grid(), rowOf(cell), colOf(cell)); }
    void verifyCells(const QStringList& cells) const {
        for (const QString& cell : cells)
            QCOMPARE(grid()->text(rowOf(cell), colOf(cell)), cell.section('=', 1));
    }
    // The cells in view that are painted in the button-face grey, whatever has the focus.
    QStringList markedCells() const {
        const QImage shown = grid()->viewport()->grab().toImage();
        QStringList marked;
        for (int row = 1; row < DataGrid::kRows; ++row)
            for (int col = 1; col < DataGrid::kCols; ++col) {
                const QRect cell = grid()->cellRect(row, col, grid()->viewport());
                const QPoint blank(cell.right() - 3, cell.center().y()); // right of any text
                if (shown.rect().contains(blank) &&
                    shown.pixelColor(blank) == grid()->palette().color(QPalette::Button))
                    marked << QString("%1,%2").arg(row).arg(col);
            }
        return marked;
    }

private slots:
    void init() {
        mData = CalibrationDataSet();
        mMessages = RecordingMessageSink();
        mEditor = std::make_unique<EditorWindow>(mData, mMessages);
        mEditor->WriteDataToGrid();
        mEditor->show();
        QVERIFY(QTest::qWaitForWindowExposed(mEditor.get()));
    }
    void cleanup() { mEditor.reset(); }

    // A new editor: the data set's column titles and row numbers, the fields' starting values.
    void newEditorShowsHeadersAndStartingValues() {
        QStringList shown;
        for (const auto& [orientation, section] : {std::pair{Qt::Horizontal, 0},
                                                   {Qt::Horizontal, 2},
                                                   {Qt::Vertical, 0},
                                                   {Qt::Vertical, 129}})
            shown << grid()->model()->headerData(section, orientation).toString();
        for (const char* name : {"txtLowerINR", "txtUpperINR", "txtSDReg"})
            shown << child<QLineEdit>(mEditor.get(), name)->text();
        QCOMPARE(shown, (QStringList{"  Tag", "     x", "1", "130", "1.5", "4.5", "3.0"}));
    }

    void enterCommitsTheBoxAndMovesDown_data() {
        QTest::addColumn<QStringList>("actions"); // "@row,col" clicks a cell, a text is entered
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("current"); // the grid's current cell
        const auto row = [](const char* name, const QStringList& actions, const QStringList& cells,
                            const char* current) {
            QTest::newRow(name) << actions << cells << current;
        };
        row("tag column takes no typed value", {"12.3"}, {"1,1=", "1,2=", "2,1="}, "2,1");
        row("y column fills row after row", {"@1,2", "12.3", "13"}, {"1,2=12.3", "2,2=13", "3,2="},
            "3,2");
        row("an emptied box empties the cell", {"@1,2", "5", "6", "@1,2", ""}, {"1,2=", "2,2=6"},
            "2,2");
        row("last row stays the row being edited", {"@130,3", "40", "41"}, {"130,3=41", "129,3="},
            "130,3");
    }
    void enterCommitsTheBoxAndMovesDown() {
        QFETCH(QStringList, actions);
        QFETCH(QStringList, cells);
        QFETCH(QString, current);
        for (const QString& action : actions) {
            if (action.startsWith('@')) {
                clickCell(action.mid(1));
                continue;
            }
            replaceText(editBox(), action);
            QTest::keyClick(editBox(), Qt::Key_Return);
        }
        verifyCells(cells);
        QCOMPARE(QString("%1,%2").arg(grid()->currentGridRow()).arg(grid()->currentGridCol()),
                 current);
        // The cell being edited is marked, unless it is a tag cell.
        QCOMPARE(markedCells(), current.endsWith(",1") ? QStringList() : QStringList{current});
        QCOMPARE(editBox()->text(), QString());
        QVERIFY(mMessages.messages.empty());
    }

    void tagListCoversTheTagCellAndWritesTheChoice() {
        grid()->setText(3, 1, QStringLiteral("Normal"));
        clickCell("2,2");
        clickCell("3,1");
        QTest::keyClick(grid(), Qt::Key_Shift); // a key that moves no cell leaves the list up
        QVERIFY(tagList()->isVisible());
        QCOMPARE(tagList()->geometry().topLeft(), grid()->cellRect(3, 1, mEditor.get()).topLeft());
        grid()->setColumnWidth(0, grid()->columnWidth(0) + 30); // and follows the column's width
        QCOMPARE(tagList()->width(), grid()->cellRect(3, 1, mEditor.get()).width());
        QCOMPARE(tagList()->currentText(), QStringLiteral("Normal"));
        QCOMPARE(mEditor->currentRow(), 2); // the cell being edited stays where it was
        tagList()->setFocus();              // as a click on it gives it
        QTest::keyClick(tagList(), Qt::Key_Home);
        verifyCells({"2,1=", "3,1=Abnormal", "4,1="});
        QVERIFY(!tagList()->isVisible());
        QCOMPARE(QApplication::focusWidget(), grid()); // typing goes on from the grid
        QTest::keyClick(editBox(), Qt::Key_Return);    // on from the cell being edited, not the tag
        QCOMPARE(markedCells(), QStringList{"3,2"});
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Tab); // Tab moves on to the next control
        QVERIFY(QApplication::focusWidget() != grid());
    }

    void pastedRowsFillTheGridFromTheCurrentCell_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("message"); // a refused paste's, which changes no cell
        const auto row = [](const char* name, const char* start, const char* clipboard,
                            const QStringList& cells, const char* message = "") {
            QTest::newRow(name) << start << clipboard << cells << QString(message);
        };
        row("tab-separated rows from a spreadsheet", "1,1",
            "Abnormal\t21.5\t24\r\nnormal\t12.4\t13.10\r\n",
            {"1,1=Abnormal", "1,2=21.5", "1,3=24", "2,1=Normal", "2,3=13.10", "3,1="});
        row("comma-separated, a tag that is not one is left out", "1,1",
            "Abnorm,30,38.5\nNormal,12,13\n", {"1,1=", "1,2=30", "1,3=38.5", "2,1=Normal"});
        row("columns beyond x are dropped, the last line end may be missing", "1,2",
            "25.3\t31.2\t99", {"1,1=", "1,2=25.3", "1,3=31.2"});
        row("rows beyond 130 are dropped, unread", "129,2", "1\n2\nabc\n",
            {"129,2=1", "130,2=2", "128,2="});
        row("tags written 0 and 1, as in data files", "1,1", "0\t25\n1\t12\n",
            {"1,1=Abnormal", "2,1=Normal"});
        row("a decimal comma refuses the whole paste", "3,1", "0\t12.5\t13\n1\t28,7\t20\n",
            {"3,1=", "3,2=", "4,2="},
            "Paste Error: Row 4, y: \"28,7\" \u2014 use a period as the decimal separator");
        row("so does a text", "5,3", "40\nabc\n", {"5,3="},
            "Paste Error: Row 6, x: \"abc\" is not a number");
        row("in the last row too", "130,2", "abc\n", {"130,2="},
            "Paste Error: Row 130, y: \"abc\" is not a number");
    }
    void pastedRowsFillTheGridFromTheCurrentCell() {
        QFETCH(QString, start);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, cells);
        clickCell(start);
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        verifyCells(cells);
        const Message* refusal = mMessages.messages.empty() ? nullptr : &mMessages.messages[0];
        QTEST(refusal ? QString::fromStdString(refusal->title + ": " + refusal->text) : QString(),
              "message");
    }

    // Typed texts are kept as typed. A time that is no use is drawn in red with its reason as
    // tooltip, and the line under the grid counts the rows as they are typed.
    void unusableTimesAreRedAndRowsAreCounted() {
        const QStringList typed = {"1,1=Normal", "1,2=12.5", "1,3=28,7",     "2,1=Abnormal",
                                   "2,2=-1",     "2,3=30",   "3,1=Abnormal", "3,2=20",
                                   "3,3=22",     "4,2=abc"};
        for (const QString& cell : typed)
            enterIntoCell(mEditor.get(), rowOf(cell), colOf(cell), cell.section('=', 1));
        verifyCells(typed);
        const auto counts = [&] { return child<QLabel>(mEditor.get(), "lblRowCounts")->text(); };
        QCOMPARE(counts(), "0 normal, 1 abnormal, 3 incomplete rows");
        // What a cell tells beside its text: its tooltip, and "(red)" when drawn in red.
        const auto told = [&](int row, int col) {
            const QModelIndex cell = grid()->model()->index(row - 1, col - 1);
            const bool red = cell.data(Qt::ForegroundRole).value<QBrush>().color() == Qt::red;
            return cell.data(Qt::ToolTipRole).toString() + (red ? " (red)" : "");
        };
        QCOMPARE(told(1, 3), "\"28,7\" \u2014 use a period as the decimal separator (red)");
        QCOMPARE(told(2, 2), "\"-1\" is not a positive number (red)");
        QCOMPARE(told(4, 2), "\"abc\" is not a number (red)");
        QCOMPARE(told(1, 2) + told(3, 3), QString());
        enterIntoCell(mEditor.get(), 1, 3, "28.7");
        enterIntoCell(mEditor.get(), 2, 2, "15");
        QCOMPARE(told(1, 3) + told(2, 2), QString());
        QCOMPARE(counts(), "1 normal, 2 abnormal, 1 incomplete row");
    }

    void copiedCellsAreTabSeparatedRows() {
        grid()->setText(2, 1, QStringLiteral("Normal"));
        grid()->setText(2, 2, QStringLiteral("12.4"));
        grid()->setText(3, 2, QStringLiteral("13"));
        clickCell("3,2");
        QCOMPARE(editBox()->text(), "13"); // the box shows the cell clicked
        clickCell("2,1");
        test::clickCell(grid(), 3, 2, Qt::ShiftModifier);
        QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Normal\t12.4\n\t13\n"));
        // A column's heading selects nothing; the grid's corner selects every cell.
        const QPoint yHeading(grid()->columnViewportPosition(1) + 5, 5);
        QTest::mouseClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {}, yHeading);
        QCOMPARE(grid()->selectedItems().size(), 4);
        auto* corner = grid()->findChild<QAbstractButton*>();
        const QImage cornerShown = corner->grab().toImage(); // its text, over the heading's face
        int darkest = 255;
        for (int y = 0; y < cornerShown.height(); ++y)
            for (int x = 0; x < cornerShown.width(); ++x)
                darkest = std::min(darkest, qGray(cornerShown.pixel(x, y)));
        QVERIFY2(darkest < 100, qPrintable(grid()->text(0, 0)));
        QTest::mouseClick(corner, Qt::LeftButton);
        QCOMPARE(grid()->selectedItems().size(), (DataGrid::kRows - 1) * (DataGrid::kCols - 1));
    }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
