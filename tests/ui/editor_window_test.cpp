// The data editor driven with the mouse and the keyboard: values typed into the edit box and
// committed with Enter, the marking of the cell being edited, the tag list, pasting and
// copying.
#include "data_grid.h"
#include "editor_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace morvane;

class EditorWindowTest : public QObject {
    Q_OBJECT

private:
    CalibrationDataSet mData;
    RecordingMessageSink mMessages;
    std::unique_ptr<EditorWindow> mEditor;

    template <typename Control> Control* control(const char* name) const {
        auto* found = mEditor->findChild<Control*>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    DataGrid* grid() const { return control<DataGrid>("Grid1"); }
    QLineEdit* editBox() const { return control<QLineEdit>("txtGrid"); }
    QComboBox* tagList() const { return control<QComboBox>("Combotag"); }

    void clickCell(int row, int col) {
        DataGrid* g = grid();
        const QModelIndex index = g->model()->index(row - 1, col - 1);
        g->scrollTo(index);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
    }
    // Cells as written in the test tables: "row,col" and "row,col=text".
    static int rowOf(const QString& cell) { return cell.section(',', 0, 0).toInt(); }
    static int colOf(const QString& cell) {
        return cell.section('=', 0, 0).section(',', 1).toInt();
    }
    void clickCell(const QString& cell) { clickCell(rowOf(cell), colOf(cell)); }
    void verifyCells(const QStringList& cells) const {
        for (const QString& cell : cells)
            QCOMPARE(grid()->text(rowOf(cell), colOf(cell)), cell.section('=', 1));
    }
    void typeAndEnter(const QString& text) {
        QTest::keyClicks(editBox(), text);
        QTest::keyClick(editBox(), Qt::Key_Return);
    }
    QList<QString> markedCells() const {
        QList<QString> marked;
        for (int row = 1; row < DataGrid::kRows; ++row) {
            for (int col = 1; col < DataGrid::kCols; ++col) {
                if (grid()->isMarked(row, col))
                    marked << QStringLiteral("%1,%2").arg(row).arg(col);
            }
        }
        return marked;
    }
    void verifyCurrent(int row, int col) const {
        QCOMPARE(grid()->currentGridRow(), row);
        QCOMPARE(grid()->currentGridCol(), col);
        QCOMPARE(mEditor->currentRow(), row);
        QCOMPARE(mEditor->currentCol(), col);
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

    void typedValuesGoDownTheColumn_data() {
        QTest::addColumn<QString>("clicked"); // empty: no click, as after start-up
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("expectedCells"); // "row,col=text"
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("tag column takes no typed value")
            << QString() << QStringList{"12.3"} << QStringList{"1,1=", "1,2=", "2,1="} << "2,1"
            << QStringList();
        QTest::newRow("y column fills row after row")
            << "1,2" << QStringList{"12.3", "13"} << QStringList{"1,2=12.3", "2,2=13", "3,2="}
            << "3,2" << QStringList{"3,2"};
        QTest::newRow("last row stays the row being edited")
            << "130,3" << QStringList{"40", "41"} << QStringList{"130,3=41", "129,3="} << "130,3"
            << QStringList{"130,3"};
    }
    void typedValuesGoDownTheColumn() {
        QFETCH(QString, clicked);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expectedCells);
        QFETCH(QString, current);
        QFETCH(QStringList, marked);
        if (!clicked.isEmpty())
            clickCell(clicked);
        for (const QString& text : typed)
            typeAndEnter(text);
        verifyCells(expectedCells);
        verifyCurrent(rowOf(current), colOf(current));
        QCOMPARE(markedCells(), marked);
        QCOMPARE(editBox()->text(), QString());
        QVERIFY(mMessages.messages.empty());
    }

    void enterWithAnEmptyBoxEmptiesTheCell() {
        clickCell(1, 2);
        typeAndEnter(QStringLiteral("5"));
        typeAndEnter(QStringLiteral("6"));
        clickCell(1, 2);
        QCOMPARE(editBox()->text(), QStringLiteral("5"));
        QTest::keyClick(editBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editBox(), Qt::Key_Delete);
        QTest::keyClick(editBox(), Qt::Key_Return);
        QCOMPARE(grid()->text(1, 2), QString());
        QCOMPARE(grid()->text(2, 2), QStringLiteral("6"));
        verifyCurrent(2, 2);
        QCOMPARE(editBox()->text(), QString());
    }

    void tagListCoversTheTagCellAndWritesTheChoice() {
        grid()->setText(3, 1, QStringLiteral("Normal"));
        clickCell(2, 2);
        clickCell(3, 1);
        QVERIFY(tagList()->isVisible());
        QCOMPARE(tagList()->geometry().topLeft(), grid()->cellRect(3, 1, mEditor.get()).topLeft());
        QCOMPARE(tagList()->currentText(), QStringLiteral("Normal"));
        // The click on a tag cell leaves the cell being edited where it was.
        QCOMPARE(mEditor->currentRow(), 2);
        QCOMPARE(mEditor->currentCol(), 2);
        QTest::keyClick(tagList(), Qt::Key_Home);
        QCOMPARE(grid()->text(3, 1), QStringLiteral("Abnormal"));
        QVERIFY(!tagList()->isVisible());
        QCOMPARE(grid()->text(2, 1), QString());
        QCOMPARE(grid()->text(4, 1), QString());
    }

    void pastedRowsFillTheGridFromTheCurrentCell_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("expectedCells");
        QTest::newRow("tab-separated rows from a spreadsheet")
            << "1,1"
            << "Abnormal\t21.5\t24\r\nnormal\t12.4\t13.10\r\n"
            << QStringList{"1,1=Abnormal", "1,2=21.5", "1,3=24", "2,1=Normal", "2,3=13.10", "3,1="};
        QTest::newRow("comma-separated, a tag that is not one is left out")
            << "1,1"
            << "Abnorm,30,38.5\nNormal,12,13\n"
            << QStringList{"1,1=", "1,2=30", "1,3=38.5", "2,1=Normal"};
        QTest::newRow("columns beyond x are dropped")
            << "1,2"
            << "25.3\t31.2\t99\n"
            << QStringList{"1,1=", "1,2=25.3", "1,3=31.2"};
        QTest::newRow("rows beyond 130 are dropped") << "129,2"
                                                     << "1\n2\n3\n"
                                                     << QStringList{"129,2=1", "130,2=2", "128,2="};
    }
    void pastedRowsFillTheGridFromTheCurrentCell() {
        QFETCH(QString, start);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, expectedCells);
        clickCell(start);
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        verifyCells(expectedCells);
    }

    void copiedCellsAreTabSeparatedRows() {
        grid()->setText(2, 1, QStringLiteral("Normal"));
        grid()->setText(2, 2, QStringLiteral("12.4"));
        grid()->setText(3, 2, QStringLiteral("13"));
        clickCell(2, 1);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          grid()->visualRect(grid()->model()->index(2, 1)).center());
        QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Normal\t12.4\n\t13\n"));
    }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
