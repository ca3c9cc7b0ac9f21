// The program on a whole screen, without any resizing by hand: started, an example opened with
// Ctrl+O, calibrated with F5 and plotted, the main window covers the screen, the whole plot with
// its legend is in sight and the results window shows whole report lines. The test runs once per
// screen size (the offscreen platform's configuration file gives it).
#include "file_dialog.h"
#include "graph_window.h"
#include "main_window.h"
#include "results_window.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

using namespace morvane;

namespace {

const QString kExample =
    QStringLiteral(MORVANE_TEST_DATA_DIR "/../../examples/calibration_example.txt");

// Whether every pixel of the rectangle (in the widget's coordinates) is unobscured on screen.
bool inSight(const QWidget* widget, const QRect& rect) {
    const QRect onScreen(widget->mapToGlobal(rect.topLeft()), rect.size());
    return (QRegion(rect) - widget->visibleRegion()).isEmpty() &&
           widget->screen()->geometry().contains(onScreen);
}

} // namespace

class DesktopGeometryTest : public QObject {
    Q_OBJECT

private slots:
    void startOpenCalibrateAndPlotFitTheScreen();
};

void DesktopGeometryTest::startOpenCalibrateAndPlotFitTheScreen() {
    RecordingMessageSink messages;
    ScriptedFileDialogs dialogs;
    MainWindow window(messages, dialogs, QStringLiteral(MORVANE_TCRIT_FILE));
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QRect screen = window.screen()->availableGeometry();
    QTRY_COMPARE(window.frameGeometry(), screen);

    const QStringList shortcuts = {"mnuFileItem1", "Ctrl+O", "mnuFileItem2", "Ctrl+S",
                                   "mnuFileItem3", "Ctrl+P", "mnuFileItem7", "Ctrl+Q"};
    for (qsizetype i = 0; i < shortcuts.size(); i += 2)
        QCOMPARE(window.findChild<QAction*>(shortcuts[i])->shortcut().toString(), shortcuts[i + 1]);
    dialogs.answers = {kExample};
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(window.currentFileName(),
             QDir::toNativeSeparators(QFileInfo(kExample).absoluteFilePath()));
    QTest::keyClick(&window, Qt::Key_F5);
    QVERIFY2(window.results(), "F5 calibrates");
    window.findChild<QAction*>("mnuMakePlot")->trigger();
    QTRY_COMPARE(window.frameGeometry(), screen);

    // The plot: the largest square that fits, wholly in sight, legend and all.
    const auto* picture = window.findChild<PlotPicture*>("Picture1");
    QVERIFY(picture);
    const QSize plot = picture->image().deviceIndependentSize().toSize();
    QCOMPARE(plot.width(), std::min(picture->width(), picture->height()));
    QVERIFY(plot.width() >= GraphWindow::designedSize(&window).width() - 1);
    const QPoint corner((picture->width() - plot.width()) / 2,
                        (picture->height() - plot.height()) / 2);
    QVERIFY(inSight(picture, QRect(corner, plot)));

    // The report: no scrolling across, and a line across the box's whole width in sight.
    auto* text = window.results()->findChild<QPlainTextEdit*>("txtResults");
    QCOMPARE(text->horizontalScrollBar()->maximum(), 0);
    const int lineHeight = text->fontMetrics().lineSpacing();
    bool wholeLine = false;
    for (int y = 0; y + lineHeight <= text->viewport()->height(); y += lineHeight)
        wholeLine = wholeLine ||
                    inSight(text->viewport(), QRect(0, y, text->viewport()->width(), lineHeight));
    QVERIFY2(wholeLine, "a whole report line is in sight");
}

QTEST_MAIN(DesktopGeometryTest)
#include "desktop_geometry_test.moc"
