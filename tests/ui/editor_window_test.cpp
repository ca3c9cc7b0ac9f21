// The data editor driven with the mouse and the keyboard: values typed into the edit box and
// committed with Enter, the marking of the cell being edited, the tag list, the arrow keys,
// pasting and copying, and the designed controls.
#include "data_grid.h"
#include "editor_window.h"
#include "twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace morvane;

namespace {

struct Cell {
    int row;
    int col;
};

// "row,col" as written in the test tables.
Cell cellAt(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    return {parts[0].toInt(), parts[1].toInt()};
}

} // namespace

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
    void clickRowNumber(int row) {
        QHeaderView* header = grid()->verticalHeader();
        grid()->scrollTo(grid()->model()->index(row - 1, 0));
        const QPoint centre(header->width() / 2, header->sectionViewportPosition(row - 1) +
                                                     header->sectionSize(row - 1) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
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
        QTest::newRow("x column keeps the text as typed")
            << "4,3" << QStringList{"12.50", "abc"} << QStringList{"4,3=12.50", "5,3=abc"} << "6,3"
            << QStringList{"6,3"};
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
            clickCell(cellAt(clicked).row, cellAt(clicked).col);
        for (const QString& text : typed)
            typeAndEnter(text);
        for (const QString& expected : expectedCells) {
            const Cell cell = cellAt(expected.section(QLatin1Char('='), 0, 0));
            QCOMPARE(grid()->text(cell.row, cell.col), expected.section(QLatin1Char('='), 1));
        }
        verifyCurrent(cellAt(current).row, cellAt(current).col);
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

    void clickingACellMovesTheMarkingAndShowsItsText() {
        clickCell(1, 2);
        typeAndEnter(QStringLiteral("21.5"));
        clickCell(1, 3);
        QCOMPARE(markedCells(), QList<QString>{QStringLiteral("1,3")});
        clickCell(1, 2);
        QCOMPARE(markedCells(), QList<QString>{QStringLiteral("1,2")});
        QCOMPARE(editBox()->text(), QStringLiteral("21.5"));
        QVERIFY(!tagList()->isVisible());
    }

    void markedCellShowsTheButtonFaceColour() {
        clickCell(1, 2);
        typeAndEnter(QStringLiteral("12.3"));
        const QRect marked = grid()->visualRect(grid()->model()->index(1, 1));
        const QRect unmarked = grid()->visualRect(grid()->model()->index(0, 1));
        // The current cell of the tag column is not marked, and one cell is not highlighted.
        clickCell(3, 1);
        const QRect tag = grid()->visualRect(grid()->model()->index(2, 0));
        // A corner inside the cell, clear of its text and grid lines.
        const QPoint inside(3, 3);
        // The focus goes back to the edit box, so that the grid draws no focus frame.
        QTest::mouseClick(editBox(), Qt::LeftButton);
        const QImage picture = grid()->viewport()->grab().toImage();
        QCOMPARE(picture.pixelColor(marked.topLeft() + inside), grid()->palette().button().color());
        QCOMPARE(picture.pixelColor(unmarked.topLeft() + inside), grid()->palette().base().color());
        QCOMPARE(picture.pixelColor(tag.topLeft() + inside), grid()->palette().base().color());
    }

    void arrowKeysMoveTheCellBeingEdited() {
        clickCell(2, 2);
        QTest::keyClick(grid(), Qt::Key_Down);
        QTest::keyClick(grid(), Qt::Key_Right);
        verifyCurrent(3, 3);
        QCOMPARE(markedCells(), QList<QString>{QStringLiteral("3,3")});
        // Typing while the grid has the focus goes to the edit box.
        QTest::keyClicks(grid(), QStringLiteral("7.5"));
        QCOMPARE(editBox()->text(), QStringLiteral("7.5"));
        QTest::keyClick(editBox(), Qt::Key_Return);
        QCOMPARE(grid()->text(3, 3), QStringLiteral("7.5"));
        verifyCurrent(4, 3);
    }

    void tagListCoversTheTagCellWithItsText() {
        grid()->setText(3, 1, QStringLiteral("Normal"));
        clickCell(2, 2);
        clickCell(3, 1);
        QVERIFY(tagList()->isVisible());
        const QRect cell = grid()->cellRect(3, 1, mEditor.get());
        QCOMPARE(tagList()->geometry().topLeft(), cell.topLeft());
        QCOMPARE(tagList()->width(), cell.width());
        QCOMPARE(tagList()->currentText(), QStringLiteral("Normal"));
        // The click on a tag cell leaves the cell being edited where it was.
        QCOMPARE(mEditor->currentRow(), 2);
        QCOMPARE(mEditor->currentCol(), 2);
        QCOMPARE(editBox()->text(), QStringLiteral("Normal"));
    }

    void choosingFromTheTagListWritesTheTag_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("tag");
        QTest::newRow("last item") << int(Qt::Key_End) << "Normal";
        QTest::newRow("first item") << int(Qt::Key_Home) << "Abnormal";
    }
    void choosingFromTheTagListWritesTheTag() {
        QFETCH(int, key);
        QFETCH(QString, tag);
        clickCell(4, 1);
        QTest::keyClick(tagList(), Qt::Key(key));
        QCOMPARE(grid()->text(4, 1), tag);
        QVERIFY(!tagList()->isVisible());
        QCOMPARE(grid()->text(3, 1), QString());
        QCOMPARE(grid()->text(5, 1), QString());
    }

    void tagListIsHiddenByScrollingOrAnotherColumn() {
        grid()->setText(1, 1, QStringLiteral("Abnormal"));
        clickCell(1, 1);
        QVERIFY(tagList()->isVisible());
        QTest::keyClick(grid()->verticalScrollBar(), Qt::Key_PageDown);
        QVERIFY(grid()->verticalScrollBar()->value() > 0);
        QVERIFY(!tagList()->isVisible());
        QCOMPARE(grid()->text(1, 1), QStringLiteral("Abnormal"));
        clickCell(1, 1);
        QVERIFY(tagList()->isVisible());
        clickCell(1, 3);
        QVERIFY(!tagList()->isVisible());
    }

    void clickingARowNumberSelectsTheRow() {
        clickRowNumber(5);
        const QList<QTableWidgetSelectionRange> ranges = grid()->selectedRanges();
        QCOMPARE(ranges.size(), 1);
        QCOMPARE(ranges[0].topRow(), 4);
        QCOMPARE(ranges[0].bottomRow(), 4);
        QCOMPARE(ranges[0].leftColumn(), 0);
        QCOMPARE(ranges[0].rightColumn(), 2);
        QCOMPARE(grid()->currentGridCol(), DataGrid::kTagCol);
        QVERIFY(tagList()->isVisible());
        QCOMPARE(tagList()->y(), grid()->cellRect(5, 1, mEditor.get()).y());
    }

    void enterPressesTheFocusedButtonElseTheDefault() {
        QSignalSpy calibrate(mEditor.get(), &EditorWindow::calibrateRequested);
        auto* command1 = control<QPushButton>("Command1");
        command1->setFocus();
        QTest::keyClick(command1, Qt::Key_Return);
        QCOMPARE(calibrate.count(), 1);
        // In any other field Enter commits the edit box, as the default button does.
        clickCell(1, 2);
        QTest::keyClicks(editBox(), QStringLiteral("9"));
        QTest::keyClick(control<QLineEdit>("txtIRP"), Qt::Key_Return);
        QCOMPARE(grid()->text(1, 2), QStringLiteral("9"));
        QCOMPARE(calibrate.count(), 1);
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
        clickCell(cellAt(start).row, cellAt(start).col);
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        for (const QString& expected : expectedCells) {
            const Cell cell = cellAt(expected.section(QLatin1Char('='), 0, 0));
            QCOMPARE(grid()->text(cell.row, cell.col), expected.section(QLatin1Char('='), 1));
        }
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

    void controlsHaveTheirDesignedTextsAndPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("txtGrid") << "txtGrid"
                                 << "" << QRect(240, 240, 1575, 285);
        QTest::newRow("Grid1") << "Grid1"
                               << "" << QRect(120, 720, 3135, 4935);
        QTest::newRow("txtid") << "txtid"
                               << "dataset1.txt" << QRect(3600, 360, 2655, 285);
        QTest::newRow("txtIRP") << "txtIRP"
                                << "RP" << QRect(3600, 1320, 2535, 285);
        QTest::newRow("txtWRP") << "txtWRP"
                                << "WP" << QRect(3600, 1920, 2535, 285);
        QTest::newRow("txtISI") << "txtISI"
                                << "1" << QRect(3600, 2520, 1215, 285);
        QTest::newRow("txtSEISI") << "txtSEISI"
                                  << "0" << QRect(4920, 2520, 1215, 285);
        QTest::newRow("txtLowerINR") << "txtLowerINR"
                                     << "1.5" << QRect(3600, 3120, 1215, 285);
        QTest::newRow("txtUpperINR") << "txtUpperINR"
                                     << "4.5" << QRect(4920, 3120, 1215, 285);
        QTest::newRow("txtSDReg") << "txtSDReg"
                                  << "3.0" << QRect(3600, 3840, 1215, 285);
        QTest::newRow("ComboCI") << "ComboCI"
                                 << "95%" << QRect(3600, 4320, 735, 315);
        QTest::newRow("Chkbox1") << "Chkbox1"
                                 << "" << QRect(5520, 4800, 375, 375);
        QTest::newRow("Command1") << "Command1"
                                  << "Calibrate" << QRect(3600, 5280, 1215, 375);
        QTest::newRow("cmdDefault")
            << "cmdDefault"
            << "Default (used only for entering data in grid)" << QRect(2400, 6000, 1935, 495);
        // Labels start where designed and may widen to the right for their caption.
        QTest::newRow("Label10") << "Label10"
                                 << "Calibration identifier:" << QRect(3600, 120, 0, 375);
        QTest::newRow("Label1") << "Label1"
                                << "Reference Preparation (y):" << QRect(3600, 1080, 0, 255);
        QTest::newRow("Label2") << "Label2"
                                << "Working Preparation (x):" << QRect(3600, 1680, 0, 255);
        QTest::newRow("Label3") << "Label3"
                                << "ISI:" << QRect(3600, 2280, 0, 255);
        QTest::newRow("Label4") << "Label4"
                                << "ISI Standard Error:" << QRect(4920, 2280, 0, 255);
        QTest::newRow("Label5") << "Label5"
                                << "Lower INR " << QRect(3600, 2880, 0, 255);
        QTest::newRow("Label6") << "Label6"
                                << "Upper INR" << QRect(4920, 2880, 0, 255);
        QTest::newRow("Label7") << "Label7"
                                << "Limits About Calibration Line:" << QRect(3600, 3600, 0, 255);
        QTest::newRow("Label8") << "Label8"
                                << "Confidence Intervals" << QRect(4440, 4320, 0, 255);
        QTest::newRow("Label9") << "Label9"
                                << "Tick box for Tomenson's corrected INR"
                                << QRect(3600, 4800, 0, 375);
    }
    void controlsHaveTheirDesignedTextsAndPlaces() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, twips);
        QWidget* widget = mEditor->findChild<QWidget*>(name);
        QVERIFY(widget);
        // Twips to pixels at the logical resolution, computed here from 1440 twips an inch.
        const auto px = [](int twips, int dpi) { return qRound(twips * dpi / 1440.0); };
        const QRect expected(
            px(twips.x(), widget->logicalDpiX()), px(twips.y(), widget->logicalDpiY()),
            px(twips.width(), widget->logicalDpiX()), px(twips.height(), widget->logicalDpiY()));
        if (twips.width() == 0) {
            QCOMPARE(widget->pos(), expected.topLeft());
            QCOMPARE(widget->height(), expected.height());
        } else {
            QCOMPARE(widget->geometry(), expected);
        }
        QString shown;
        if (auto* field = qobject_cast<QLineEdit*>(widget))
            shown = field->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            shown = label->text();
        else if (auto* list = qobject_cast<QComboBox*>(widget))
            shown = list->currentText();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            shown = button->text();
        QCOMPARE(shown, text);
    }

    void listsAndBoxStartAsDesigned() {
        auto* comboCI = control<QComboBox>("ComboCI");
        QStringList levels;
        for (int i = 0; i < comboCI->count(); ++i)
            levels << comboCI->itemText(i);
        QCOMPARE(levels, (QStringList{"95%", "90%", "99%"}));
        QStringList tags;
        for (int i = 0; i < tagList()->count(); ++i)
            tags << tagList()->itemText(i);
        QCOMPARE(tags, (QStringList{"Abnormal", "Normal"}));
        QVERIFY(!tagList()->isVisible());
        QVERIFY(!control<QCheckBox>("Chkbox1")->isChecked());
        QCOMPARE(grid()->rowCount() + 1, 131);
        QCOMPARE(grid()->columnCount() + 1, 4);
        QCOMPARE(grid()->verticalHeader()->sectionSize(0), tagList()->height());
        verifyCurrent(1, 1);
        QVERIFY(markedCells().isEmpty());
    }

    void tabFollowsTheDesignedOrder() {
        const QStringList designed = {
            "txtIRP",   "txtWRP", "txtISI",  "txtSEISI", "txtLowerINR", "txtUpperINR", "txtSDReg",
            "Command1", "Grid1",  "ComboCI", "txtGrid",  "Chkbox1",     "txtid",       "txtIRP"};
        mEditor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mEditor.get()));
        control<QLineEdit>("txtIRP")->setFocus();
        for (qsizetype i = 1; i < designed.size(); ++i) {
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused);
            QCOMPARE(focused->objectName(), designed[i - 1]);
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget()->objectName(), designed.last());
    }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
