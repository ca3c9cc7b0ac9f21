// The plot follows its window's size, copies keep theirs; "Black and white" draws as before.
#include "../plot/excluded_example.h"
#include "graph_window.h"
#include "plot_image_io.h"
#include "qpainter_surface.h"

#include <QtTest>

#include <functional>

using namespace morvane;

namespace {

void drawPlot(GraphWindow& window, const PlotOptions& options) {
    const ExcludedExample in;
    window.drawCalibrationPlot(in.data, in.results, options);
}

// Patches of this hue, pixels up to two apart touching (across a line): one per marker.
int patchesOf(QImage image, int hue) {
    std::function<int(int, int)> fill = [&](int x, int y) {
        const QColor c = image.rect().contains(x, y) ? image.pixelColor(x, y) : Qt::white;
        if (c.hsvSaturation() <= 60 || std::abs(c.hsvHue() - hue) >= 12)
            return 0;
        image.setPixel(x, y, qRgb(255, 255, 255));
        for (int d = 0; d < 25; ++d)
            fill(x + d % 5 - 2, y + d / 5 - 2);
        return 1;
    };
    int patches = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            patches += fill(x, y);
    return patches;
}

// Dark runs just under the x axis (1.5 U up a picture 8 U high), right of the y labels: ticks.
int ticksUnderTheXAxis(const QImage& image) {
    const int y = static_cast<int>(std::lround((6.5 + 0.05) / 8 * image.height()));
    int runs = 0;
    for (int x = image.width() * 1.4 / 8; x < image.width(); ++x)
        runs += qGray(image.pixel(x, y)) < 160 && qGray(image.pixel(x - 1, y)) >= 160 ? 1 : 0;
    return runs;
}

} // namespace

class PlotResizingTest : public QObject {
    Q_OBJECT

private slots:
    void aResizedWindowRedrawsTheSamePlotAtItsSize() {
        GraphWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        drawPlot(window, PlotOptions{.BlackAndWhite = false});
        const QImage designed = window.picture();
        for (const QSize size : {QSize(520, 400), QSize(700, 900)}) {
            window.resize(size);
            auto* picture = window.findChild<PlotPicture*>();
            const QImage shown = picture->image();
            QCOMPARE(shown.size(), QSize(1, 1) * std::min(size.width(), size.height()));
            // Drawn in the middle of the window, wide or tall.
            const QPoint corner(
                (QPoint(size.width(), size.height()) - QPoint(1, 1) * shown.width()) / 2);
            QCOMPARE(picture->grab()
                         .toImage()
                         .convertToFormat(QImage::Format_RGB32)
                         .copy(QRect(corner, shown.size())),
                     shown.convertToFormat(QImage::Format_RGB32));
            QCOMPARE(ticksUnderTheXAxis(shown), 9);                       // 2.25, 2.50, ..., 4.25
            QCOMPARE(patchesOf(shown, QColor(0xD55E00).hsvHue()), 3 + 1); // abnormal, and legend
            QCOMPARE(patchesOf(shown, QColor(0x009E73).hsvHue()), 2 + 1); // normal, and legend
        }
        QCOMPARE(window.picture(), designed); // copying, saving and printing keep their picture
        QCOMPARE(designed.deviceIndependentSize().toSize(), window.sizeHint());
    }

    // On a screen of twice the pixel density a level line lies on whole device pixels, black
    // without grey edges, and a text set upwards is centred on its point.
    void densePixelsKeepLinesSharpAndTextsCentred() {
        QImage image = newPlotImage(QSize(200, 200), 2);
        QCOMPARE(newPlotImage(QSize(30, 0), 2).size(), QSize(60, 2));
        QCOMPARE(newPlotImage(QSize(0, 30), 2).size(), QSize(2, 60));
        {
            QPainterSurface surface(image);
            surface.clear();
            surface.setScale(0, 200, 200, 0); // one unit to the logical pixel
            surface.drawLine({10, 100.3}, {150, 100.3});
            surface.setTextHeight(20);
            surface.drawTextUpwards(160, 100, "MM");
        }
        QList<QRgb> column;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(100, y) != qRgb(255, 255, 255))
                column << image.pixel(100, y);
        QCOMPARE(column, QList<QRgb>(2, qRgb(0, 0, 0)));
        int top = image.height(), bottom = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 320; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        QVERIFY2(bottom > top && std::abs(top + bottom - 400) <= 6,
                 qPrintable(QString("%1 %2").arg(top).arg(bottom)));
    }

    // Copies, saved plots and printouts stay black on white unless colour in copies is asked for.
    void copiesDrawThePlotAsItAlwaysWas() {
        const QImage before = QImage(MORVANE_TEST_DATA_DIR "/plot_black_and_white.png")
                                  .convertToFormat(QImage::Format_RGB32);
        for (const auto& [blackAndWhite, colourInCopies] :
             {std::pair{true, true}, {false, false}, {false, true}}) {
            GraphWindow window;
            drawPlot(window,
                     PlotOptions{.BlackAndWhite = blackAndWhite, .ColourInCopies = colourInCopies});
            QCOMPARE(window.picture().convertToFormat(QImage::Format_RGB32) == before,
                     blackAndWhite || !colourInCopies);
        }
    }
};

QTEST_MAIN(PlotResizingTest)
#include "plot_resizing_test.moc"
