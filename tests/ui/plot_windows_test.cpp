// The plot window's picture and its files, and the plot options dialog driven by keys and
// clicks.
#include "graph_window.h"
#include "plot_image_io.h"
#include "plot_options_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QImageReader>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace morvane;

namespace {

// Draws samples from ln PT 2.30 to 4.10, so that the axes run from 2.25 to 4.25 with U = 0.4.
void drawPlot(GraphWindow& window) {
    CalibrationDataSet data;
    CalibrationResults results;
    const double ln[][3] = {
        {2.30, 2.45, 1}, {2.40, 2.35, 1}, {3.00, 3.20, 0}, {3.60, 3.90, 0}, {3.90, 4.10, 0}};
    data.SampleCount = 5;
    for (int row = 1; row <= 5; ++row) {
        data.WorkingPT[row] = std::exp(ln[row - 1][0]);
        data.ReferencePT[row] = std::exp(ln[row - 1][1]);
        data.IsNormal[row] = static_cast<int>(ln[row - 1][2]);
    }
    results.InterceptAll = Value("0.1000");
    results.SlopeAll = Value("1.0000");
    results.InterceptAbnormal = Value("-0.5000");
    results.SlopeAbnormal = Value("1.2000");
    window.drawCalibrationPlot(data, results, PlotOptions());
}

template <typename T> T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(name);
    if (!found)
        qFatal("no child named %s", name);
    return found;
}

void replaceText(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Clicks a check box on its tick box, which is where it reacts whatever the width of its text.
void clickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

bool sameImage(QImage a, QImage b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class PlotWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void optionsDialogButtons_data();
    void optionsDialogButtons();
    void plotPictureHasItsAxesWhereTheScalePutsThem();
    void savePlotWritesTheChosenFormat_data();
    void savePlotWritesTheChosenFormat();
};

void PlotWindowsTest::optionsDialogButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("stores");
    QTest::newRow("Apply stores all five controls") << "cmdApply" << true;
    QTest::newRow("Cancel stores nothing") << "cmdCancel" << false;
}

void PlotWindowsTest::optionsDialogButtons() {
    QFETCH(QString, button);
    QFETCH(bool, stores);
    PlotOptions options;
    options.XAxisLabel = "Working lot 4";
    options.ShowLegend = 0;
    const PlotOptions before = options;
    QPointer<PlotOptionsDialog> dialog = new PlotOptionsDialog(options);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(child<QLineEdit>(dialog, "txtXLabel")->text(), QString("Working lot 4"));
    QVERIFY(child<QCheckBox>(dialog, "chkAbnormal")->isChecked());
    QVERIFY(!child<QCheckBox>(dialog, "chkLegend")->isChecked());

    replaceText(child<QLineEdit>(dialog, "txtPlotTitle"), "Lot 7 & lot 8");
    replaceText(child<QLineEdit>(dialog, "txtYLabel"), "RBT/16");
    replaceText(child<QLineEdit>(dialog, "txtXLabel"), "");
    clickBox(child<QCheckBox>(dialog, "chkAbnormal"));
    clickBox(child<QCheckBox>(dialog, "chkLegend"));
    QTest::mouseClick(child<QPushButton>(dialog, button.toLatin1().constData()), Qt::LeftButton);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(dialog.isNull(), "the dialog closes and unloads");
    QCOMPARE(options.PlotTitle, stores ? std::string("Lot 7 & lot 8") : before.PlotTitle);
    QCOMPARE(options.YAxisLabel, stores ? std::string("RBT/16") : before.YAxisLabel);
    QCOMPARE(options.XAxisLabel, stores ? std::string() : before.XAxisLabel);
    QCOMPARE(options.ShowAbnormalOnlyLine, stores ? 0 : 1);
    QCOMPARE(options.ShowLegend, stores ? 1 : 0);
}

// The axes lie 1.5 U in from the left and bottom edges of a picture 8 U wide and high.
void PlotWindowsTest::plotPictureHasItsAxesWhereTheScalePutsThem() {
    GraphWindow window;
    QVERIFY(window.picture().isNull());
    drawPlot(window);
    const QImage picture = window.picture().convertToFormat(QImage::Format_RGB32);
    const QSize size = child<QWidget>(&window, "Picture1")->size();
    QCOMPARE(picture.deviceIndependentSize().toSize(), size);

    const double ratio = picture.devicePixelRatio();
    const int axisX = static_cast<int>(1.5 / 8 * size.width() * ratio);
    const int axisY = static_cast<int>(6.5 / 8 * size.height() * ratio);
    auto darkAround = [&](int x, int y) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (qGray(picture.pixel(x + dx, y + dy)) < 128)
                    return true;
            }
        }
        return false;
    };
    for (int step = 1; step < 10; ++step) {
        const double share = 1.5 / 8 + step * 0.5 / 8; // along the axis, between its ends
        QVERIFY2(darkAround(axisX, static_cast<int>(share * picture.height())), "y axis");
        QVERIFY2(darkAround(static_cast<int>(share * picture.width()), axisY), "x axis");
    }
    QCOMPARE(picture.pixel(2, 2), qRgb(255, 255, 255));
}

void PlotWindowsTest::savePlotWritesTheChosenFormat_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("a name without extension is a bitmap") << "dataset1_plot" << QByteArray("bmp");
    QTest::newRow(".png is PNG") << "lot7.png" << QByteArray("png");
    QTest::newRow(".svg is SVG") << "lot7.svg" << QByteArray("svg");
}

void PlotWindowsTest::savePlotWritesTheChosenFormat() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, format);
    GraphWindow window;
    drawPlot(window);
    QTemporaryDir folder;
    const QString path = folder.filePath(fileName);
    QVERIFY(window.savePlot(path));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{fileName});

    if (format == "svg") {
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.defaultSize(), window.picture().deviceIndependentSize().toSize());
        return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (format == "bmp") {
        QVERIFY(bytes.startsWith("BM"));
        const auto* size = reinterpret_cast<const uchar*>(bytes.constData() + 2);
        QCOMPARE(qFromLittleEndian<quint32>(size), quint32(bytes.size()));
    }
    QImageReader reader(path, format);
    QCOMPARE(reader.format(), format);
    const QImage read = reader.read();
    QVERIFY2(!read.isNull(), qPrintable(reader.errorString()));
    QVERIFY2(sameImage(read, window.picture()), "the file holds the window's picture");
}

QTEST_MAIN(PlotWindowsTest)
#include "plot_windows_test.moc"
