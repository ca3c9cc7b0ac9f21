#include "qpainter_surface.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace morvane {

QPainterSurface::QPainterSurface(QImage& image)
    : mImage(image),
      mScale(image.deviceIndependentSize().width(), image.deviceIndependentSize().height()),
      mPainter(&image) {
    mPainter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    // A face of Helvetica's proportions keeps the legend's longest text clear of its markers;
    // without one the platform's sans-serif face is used.
    QFont font = mPainter.font();
    font.setFamilies({"Arial", "Helvetica", "Liberation Sans", "Nimbus Sans"});
    font.setStyleHint(QFont::SansSerif);
    mPainter.setFont(font);
    applyPen();
}

void QPainterSurface::clear() {
    mPainter.fillRect(QRectF(QPointF(0, 0), mImage.deviceIndependentSize()), Qt::white);
}

void QPainterSurface::setScale(double left, double top, double right, double bottom) {
    mScale.setScale(left, top, right, bottom);
    applyPen();
}

void QPainterSurface::setLineStyle(LineStyle style) {
    mStyle = style;
    applyPen();
}

void QPainterSurface::setInk(const PlotInk& ink) {
    mInk = ink;
    applyPen();
}

double QPainterSurface::penWidthPx() const {
    return mScale.penWidthPx() * mInk.penScale;
}

void QPainterSurface::setTextHeight(double height) {
    QFont font = mPainter.font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(mScale.pixelsAlongY(height)))));
    mPainter.setFont(font);
}

// Solid lines end in square caps, so a segment clipped down to one point still shows; dotted
// lines end flat, so the dots keep their spacing.
void QPainterSurface::applyPen() {
    const bool dotted = mStyle == LineStyle::Dotted;
    QPen pen(QColor::fromRgb(mInk.rgb), penWidthPx(), dotted ? Qt::DotLine : Qt::SolidLine,
             dotted ? Qt::FlatCap : Qt::SquareCap);
    mPainter.setPen(pen);
    mPainter.setBrush(Qt::NoBrush);
}

QPointF QPainterSurface::toPixels(PlotPoint point) const {
    return {mScale.pixelX(point.x), mScale.pixelY(point.y)};
}

// The nearest position where a line of the current pen width covers whole device pixels.
double QPainterSurface::onPixelGrid(double logical) const {
    const double ratio = mImage.devicePixelRatio();
    const double penDevicePixels = std::max(1.0, std::round(penWidthPx() * ratio));
    const double half = penDevicePixels / 2;
    return (std::round(logical * ratio - half) + half) / ratio;
}

void QPainterSurface::drawLine(PlotPoint from, PlotPoint to) {
    QPointF a = toPixels(from);
    QPointF b = toPixels(to);
    if (from.x == to.x) {
        a.setX(onPixelGrid(a.x()));
        b.setX(a.x());
    }
    if (from.y == to.y) {
        a.setY(onPixelGrid(a.y()));
        b.setY(a.y());
    }
    mPainter.drawLine(a, b);
}

void QPainterSurface::drawCircle(PlotPoint centre, double radius) {
    const double r = mScale.pixelsAlongX(radius);
    mPainter.drawEllipse(toPixels(centre), r, r);
}

void QPainterSurface::drawText(PlotPoint topLeft, const std::string& text) {
    const QFontMetricsF metrics(mPainter.font(), &mImage);
    const QPointF top = toPixels(topLeft);
    mPainter.drawText(QPointF(top.x(), top.y() + metrics.ascent()), QString::fromStdString(text));
}

void QPainterSurface::drawTextUpwards(double left, double centreY, const std::string& text) {
    const QFontMetricsF metrics(mPainter.font(), &mImage);
    const QString shown = QString::fromStdString(text);
    mPainter.save();
    mPainter.translate(mScale.pixelX(left), mScale.pixelY(centreY));
    mPainter.rotate(-90);
    mPainter.drawText(QPointF(-metrics.horizontalAdvance(shown) / 2, metrics.ascent()), shown);
    mPainter.restore();
}

double QPainterSurface::textWidth(const std::string& text) const {
    const QFontMetricsF metrics(mPainter.font(), &mImage);
    return mScale.unitsAlongX(metrics.horizontalAdvance(QString::fromStdString(text)));
}

} // namespace morvane
