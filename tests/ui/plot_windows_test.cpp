// The plot options dialog driven by keys and clicks, and the plot window's files.
#include "graph_window.h"
#include "plot_options_dialog.h"
#include "window_test_support.h"

#include <QDir>
#include <QImageReader>
#include <QPointer>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>

using namespace morvane;
using namespace morvane::test;

class PlotWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void optionsDialogButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Apply stores all five controls") << "cmdApply";
        QTest::newRow("Cancel stores nothing") << "cmdCancel";
    }
    void optionsDialogButtons() {
        QFETCH(QString, button);
        PlotOptions options;
        options.XAxisLabel = "Working lot 4";
        options.ShowLegend = 0;
        QPointer<PlotOptionsDialog> dialog = new PlotOptionsDialog(options);
        dialog->show();
        QCOMPARE(child<QLineEdit>(dialog, "txtXLabel")->text(), QStringLiteral("Working lot 4"));
        replaceText(child<QLineEdit>(dialog, "txtPlotTitle"), "Lot 7 & lot 8");
        replaceText(child<QLineEdit>(dialog, "txtXLabel"), "");
        tick(child<QCheckBox>(dialog, "chkAbnormal"));
        tick(child<QCheckBox>(dialog, "chkLegend"));
        QTest::mouseClick(child<QPushButton>(dialog, qPrintable(button)), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(dialog.isNull(), "the dialog closes and unloads");
        const bool applied = button == "cmdApply";
        QCOMPARE(options.PlotTitle,
                 applied ? std::string("Lot 7 & lot 8") : PlotOptions().PlotTitle);
        QCOMPARE(options.XAxisLabel, std::string(applied ? "" : "Working lot 4"));
        QCOMPARE(options.ShowAbnormalOnlyLine, applied ? 0 : 1);
        QCOMPARE(options.ShowLegend, applied ? 1 : 0);
    }

    void savePlotWritesTheChosenFormat_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("a name without extension is a bitmap")
            << "dataset1_plot" << QByteArray("bmp");
        QTest::newRow(".png is PNG") << "lot7.png" << QByteArray("png");
        QTest::newRow(".svg is SVG") << "lot7.svg" << QByteArray("svg");
    }
    void savePlotWritesTheChosenFormat() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, format);
        CalibrationDataSet data;
        data.SampleCount = 2;
        data.WorkingPT[1] = data.ReferencePT[1] = 12.0;
        data.WorkingPT[2] = data.ReferencePT[2] = 40.0;
        CalibrationResults results;
        results.InterceptAll = Value("0.1000");
        results.SlopeAll = Value("1.0000");
        GraphWindow window;
        window.drawCalibrationPlot(data, results, PlotOptions());
        QTemporaryDir folder;
        const QString path = folder.filePath(fileName);
        QVERIFY(window.savePlot(path));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{fileName});
        if (format == "svg") {
            QCOMPARE(QSvgRenderer(path).defaultSize(),
                     window.picture().deviceIndependentSize().toSize());
            return;
        }
        QImageReader reader(path, format);
        QCOMPARE(reader.format(), format);
        QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32),
                 window.picture().convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(PlotWindowsTest)
#include "plot_windows_test.moc"
