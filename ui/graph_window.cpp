#include "graph_window.h"

#include "calibration_plot.h"
#include "plot_image_io.h"
#include "qpainter_surface.h"
#include "svg_surface.h"
#include "twips.h"

#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>

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
    if (!mImage.isNull())
        painter.drawImage(QPointF(0, 0), mImage);
}

GraphWindow::GraphWindow(QWidget* parent) : QWidget(parent), Picture1(new PlotPicture(this)) {
    setObjectName("frmGraph");
    setWindowTitle("Thromboplastin Calibration Log PT Plot");
    resize(sizeHint());
    Picture1->setGeometry(rect());
}

QSize GraphWindow::sizeHint() const {
    return twipsToPixels(QSize(kDesignedSizeTwips, kDesignedSizeTwips), this);
}

void GraphWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Picture1->setGeometry(rect());
}

void GraphWindow::drawCalibrationPlot(const CalibrationDataSet& data,
                                      const CalibrationResults& results,
                                      const PlotOptions& options) {
    const QSize size = Picture1->size().expandedTo(QSize(1, 1));
    const qreal ratio = Picture1->devicePixelRatioF();
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    {
        QPainterSurface surface(image);
        DrawCalibrationPlot(surface, data, results, options);
    }
    Picture1->setImage(image);
    mDrawn = DrawnPlot{data, results, options};
}

QImage GraphWindow::picture() const {
    return Picture1->image();
}

std::string GraphWindow::pictureSvg() const {
    if (!mDrawn)
        return {};
    const QSize size = picture().deviceIndependentSize().toSize();
    return RenderCalibrationPlotSvg(mDrawn->data, mDrawn->results, mDrawn->options, size.width(),
                                    size.height());
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
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->move(0, 0);
    else
        move(0, 0);
}

} // namespace morvane
