#include "graph_window.h"

#include "calibration_plot.h"
#include "plot_image_io.h"
#include "qpainter_surface.h"
#include "svg_surface.h"
#include "twips.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace morvane {

namespace {

constexpr int kDesignedSizeTwips = 7000;

} // namespace

PlotPicture::PlotPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("Picture1");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotPicture::setImage(const QImage& image) {
    mImage = image;
    update();
}

void PlotPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (mImage.isNull())
        return;
    const QSize free = size() - mImage.deviceIndependentSize().toSize();
    painter.drawImage(QPoint(free.width() / 2, free.height() / 2), mImage);
}

GraphWindow::GraphWindow(QWidget* parent) : QWidget(parent), Picture1(new PlotPicture(this)) {
    setObjectName("frmGraph");
    setWindowTitle("Thromboplastin Calibration Log PT Plot");
    resize(sizeHint());
    Picture1->setGeometry(rect());
}

QSize GraphWindow::sizeHint() const {
    return designedSize(this);
}

QSize GraphWindow::designedSize(const QWidget* on) {
    return twipsToPixels(QSize(kDesignedSizeTwips, kDesignedSizeTwips), on);
}

void GraphWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Picture1->setGeometry(rect());
    if (mDrawn)
        showPlot();
}

void GraphWindow::drawCalibrationPlot(const CalibrationDataSet& data,
                                      const CalibrationResults& results,
                                      const PlotOptions& options) {
    mDrawn = DrawnPlot{data, results, options};
    mPicture = renderPlot(sizeHint(), OptionsForCopies(options));
    showPlot();
}

// The plot drawn on an image of this size in logical pixels, at the screen's pixel density.
QImage GraphWindow::renderPlot(QSize size, const PlotOptions& options) const {
    QImage image = newPlotImage(size, Picture1->devicePixelRatioF());
    {
        QPainterSurface surface(image);
        DrawCalibrationPlot(surface, mDrawn->data, mDrawn->results, options);
    }
    return image;
}

// The plot is square in ln PT, so it takes the largest square Picture1 holds.
void GraphWindow::showPlot() {
    const int side = std::min(Picture1->width(), Picture1->height());
    Picture1->setImage(renderPlot({side, side}, mDrawn->options));
}

QImage GraphWindow::picture() const {
    return mPicture;
}

std::string GraphWindow::pictureSvg() const {
    if (!mDrawn)
        return {};
    const QSize size = picture().deviceIndependentSize().toSize();
    return RenderCalibrationPlotSvg(mDrawn->data, mDrawn->results,
                                    OptionsForCopies(mDrawn->options), size.width(), size.height());
}

bool GraphWindow::copyPlot() const {
    if (picture().isNull())
        return false;
    copyPlotToClipboard(picture());
    return true;
}

bool GraphWindow::savePlot(const QString& path) const {
    return savePlotImage(picture(), path, pictureSvg());
}

void GraphWindow::moveToOrigin() {
    parentWidget()->move(0, 0); // the workspace's frame around the plot
}

} // namespace morvane
