// The data editor driven with the mouse and the keyboard: the tag list over the tag cell, the
// marking of the cell being edited, pasting and copying.
#include "editor_window.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>

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
