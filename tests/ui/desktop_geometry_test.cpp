// Start, Ctrl+O, F5, Produce Plot: without resizing by hand, the window fits the whole screen.
#include "editor_window.h"
#include "graph_window.h"
#include "main_window.h"
#include "results_window.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

using namespace morvane;

static const QString kExample = MORVANE_TEST_DATA_DIR "/../../examples/calibration_example.txt";

static bool inSight(const QWidget* widget, const QRect& rect) {
    return (QRegion(rect) - widget->visibleRegion()).isEmpty();
}

class DesktopGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void startOpenCalibrateAndPlotFitTheScreen() {
        RecordingMessageSink messages;
        ScriptedFileDialogs dialogs;
        MainWindow window(messages, dialogs, QStringLiteral(MORVANE_TCRIT_FILE));
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_COMPARE(window.frameGeometry(), window.screen()->availableGeometry());
        // Restored, it fills the room too on a screen smaller than 1024 x 768.
        const QSize screen = window.screen()->size();
        QCOMPARE(window.normalGeometry() == window.screen()->availableGeometry(),
                 screen.width() < 1024 || screen.height() < 768);

        // The editor maximised: its grid takes the height, at the application's own font.
        window.editor()->parentWidget()->showMaximized();
        auto* grid = window.editor()->findChild<QTableWidget*>("Grid1");
        QTRY_VERIFY(grid->geometry().bottom() > window.editor()->height() - 3 * grid->rowHeight(0));
        const int rowsShown = grid->rowAt(grid->viewport()->height() - 1) + 1;
        const int wanted = window.screen()->size().height() >= 1024 ? 35 : 15;
        QVERIFY2(rowsShown >= wanted, qPrintable(QString::number(rowsShown)));
        for (const QLabel* label : window.editor()->findChildren<QLabel*>())
            QVERIFY2(label->font().pointSizeF() >= QApplication::font().pointSizeF(),
                     qPrintable(label->text()));
        const QFontMetrics cells(grid->font());
        QVERIFY(cells == QFontMetrics(QApplication::font()));
        QVERIFY(grid->columnWidth(0) >= cells.horizontalAdvance("Abnormal"));
        for (int col : {1, 2})
            QVERIFY(grid->columnWidth(col) >= cells.horizontalAdvance("123.45"));

        QTest::keyClick(window.editor()->findChild<QWidget*>("txtGrid"), Qt::Key_Return,
                        Qt::ControlModifier);
        QVERIFY2(!messages.messages.empty(), "Ctrl+Return calibrates: the empty grid is refused");
        dialogs.answers = {kExample};
        QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_F5);
        QVERIFY2(window.results(), "Ctrl+O opened the example, F5 calibrated it");
        window.findChild<QAction*>("mnuMakePlot")->trigger();

        // The plot: the largest square that fits, wholly in sight, legend and all.
        const auto* picture = window.findChild<PlotPicture*>("Picture1");
        const QSize plot = picture->image().deviceIndependentSize().toSize();
        QCOMPARE(plot.width(), std::min(picture->width(), picture->height()));
        const QPoint corner((picture->width() - plot.width()) / 2,
                            (picture->height() - plot.height()) / 2);
        QVERIFY(inSight(picture, QRect(corner, plot)));

        // The report: no scrolling across, and its lowest line in sight across the whole box.
        auto* text = window.results()->findChild<QPlainTextEdit*>("txtResults");
        QCOMPARE(text->horizontalScrollBar()->maximum(), 0);
        const int lineHeight = text->fontMetrics().lineSpacing();
        const QSize box = text->viewport()->size();
        QVERIFY(inSight(text->viewport(),
                        QRect(0, box.height() - lineHeight, box.width(), lineHeight)));
    }
};

QTEST_MAIN(DesktopGeometryTest)
#include "desktop_geometry_test.moc"
