// The plot window's picture follows the window's size, while the picture for copying, saving
// and printing keeps the designed size; "Black and white" draws the plot as it always was.
#include "graph_window.h"

#include <QtTest>

#include <cmath>

using namespace morvane;

namespace {

const QString kBlackAndWhitePicture =
    QStringLiteral(MORVANE_TEST_DATA_DIR "/plot_black_and_white.png");

// Samples from ln PT 2.30 to 4.10 (axes 2.25 to 4.25 with U = 0.4, nine ticks), three abnormal
// and two normal ones in the fit; one left out by the INR limits, one by the SD limit.
void drawPlot(GraphWindow& window, int blackAndWhite) {
    CalibrationDataSet data;
    CalibrationResults results;
    const double ln[][3] = {{2.30, 2.45, 1}, {2.40, 2.35, 1}, {3.00, 3.20, 0}, {3.60, 3.90, 0},
                            {3.90, 4.10, 0}, {4.40, 4.70, 0}, {3.10, 2.60, 1}};
    data.SampleCount = 7;
    for (int row = 1; row <= 7; ++row) {
        data.WorkingPT[row] = std::exp(ln[row - 1][0]);
        data.ReferencePT[row] = std::exp(ln[row - 1][1]);
        data.IsNormal[row] = static_cast<int>(ln[row - 1][2]);
    }
    results.INRExcluded[6] = 1;
    results.SDExcluded[7] = 1;
    results.InterceptAll = Value("0.1000");
    results.SlopeAll = Value("1.0000");
    results.InterceptAbnormal = Value("-0.5000");
    results.SlopeAbnormal = Value("1.2000");
    PlotOptions options;
    options.BlackAndWhite = blackAndWhite;
    window.drawCalibrationPlot(data, results, options);
}

QImage shownImage(const GraphWindow& window) {
    return window.findChild<PlotPicture*>("Picture1")
        ->image()
        .convertToFormat(QImage::Format_RGB32);
}

// Whether a pixel shows this colour laid over white with at least a third of its strength, as
// the anti-aliased edges of a marker do.
bool tinted(QRgb pixel, QRgb colour) {
    const double d[] = {255.0 - qRed(pixel), 255.0 - qGreen(pixel), 255.0 - qBlue(pixel)};
    const double e[] = {255.0 - qRed(colour), 255.0 - qGreen(colour), 255.0 - qBlue(colour)};
    const double strength =
        (d[0] * e[0] + d[1] * e[1] + d[2] * e[2]) / (e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
    double residual = 0;
    for (int i = 0; i < 3; ++i)
        residual += std::abs(d[i] - strength * e[i]);
    return strength > 0.3 && residual < 40;
}

// The separate patches of pixels tinted with this colour, pixels up to two apart taken as
// touching: one per marker drawn in it.
int patchesOf(const QImage& image, QRgb colour) {
    const int w = image.width();
    QList<bool> seen(w * image.height(), false);
    auto take = [&](int x, int y, QList<int>& open) {
        if (x < 0 || y < 0 || x >= w || y >= image.height() || seen[y * w + x] ||
            !tinted(image.pixel(x, y), colour))
            return false;
        seen[y * w + x] = true;
        open.append(y * w + x);
        return true;
    };
    int patches = 0;
    for (int start = 0; start < seen.size(); ++start) {
        QList<int> open;
        if (!take(start % w, start / w, open))
            continue;
        ++patches;
        while (!open.isEmpty()) {
            const int at = open.takeLast();
            for (int d = 0; d < 25; ++d) // bridging a line that crosses the marker
                take(at % w + d % 5 - 2, at / w + d / 5 - 2, open);
        }
    }
    return patches;
}

// The dark runs along a row just under the x axis (1.5 U above the bottom of a picture 8 U
// high), right of the y-axis labels: one per tick.
int ticksUnderTheXAxis(const QImage& image) {
    const int y = static_cast<int>(std::lround((6.5 + 0.05) / 8 * image.height()));
    int runs = 0;
    bool inRun = false;
    for (int x = image.width() * 1.4 / 8; x < image.width(); ++x) {
        const bool dark = qGray(image.pixel(x, y)) < 160;
        runs += dark && !inRun ? 1 : 0;
        inRun = dark;
    }
    return runs;
}

} // namespace

class PlotResizingTest : public QObject {
    Q_OBJECT

private slots:
    void aResizedWindowRedrawsTheSamePlotAtItsSize();
    void blackAndWhiteDrawsThePlotAsItAlwaysWas();
};

void PlotResizingTest::aResizedWindowRedrawsTheSamePlotAtItsSize() {
    GraphWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    drawPlot(window, 0);
    const QImage designed = window.picture();
    QList<QImage> shown;
    for (const QSize size : {QSize(520, 400), QSize(700, 900)}) {
        window.resize(size);
        shown.append(shownImage(window));
        const int side = std::min(size.width(), size.height());
        QCOMPARE(shown.last().size(), QSize(side, side));
    }
    for (const QImage& image : shown) {
        QCOMPARE(ticksUnderTheXAxis(image), 9);                    // 2.25, 2.50, ..., 4.25
        QCOMPARE(patchesOf(image, qRgb(0xD5, 0x5E, 0x00)), 3 + 1); // abnormal, with the legend's
        QCOMPARE(patchesOf(image, qRgb(0x00, 0x9E, 0x73)), 2 + 1); // normal, with the legend's
    }
    QCOMPARE(window.picture(), designed); // copying, saving and printing keep the designed size
    QCOMPARE(designed.deviceIndependentSize().toSize(), window.sizeHint());
}

void PlotResizingTest::blackAndWhiteDrawsThePlotAsItAlwaysWas() {
    GraphWindow window;
    drawPlot(window, 1);
    const QImage before(kBlackAndWhitePicture);
    QVERIFY(!before.isNull());
    QCOMPARE(window.picture().convertToFormat(QImage::Format_RGB32),
             before.convertToFormat(QImage::Format_RGB32));
    drawPlot(window, 0);
    QVERIFY(window.picture().convertToFormat(QImage::Format_RGB32) !=
            before.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(PlotResizingTest)
#include "plot_resizing_test.moc"
