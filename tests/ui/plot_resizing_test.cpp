// The plot on a screen of dense pixels, and copies that keep their picture; "Black and white"
// draws as before.
#include "../plot/excluded_example.h"
#include "graph_window.h"
#include "plot_image_io.h"
#include "qpainter_surface.h"

#include <QtTest>

using namespace morvane;

namespace {

void drawPlot(GraphWindow& window, const PlotOptions& options) {
    const ExcludedExample in;
    window.drawCalibrationPlot(in.data, in.results, options);
}

} // namespace

class PlotResizingTest : public QObject {
    Q_OBJECT

private slots:
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
