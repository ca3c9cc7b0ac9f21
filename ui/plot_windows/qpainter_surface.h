#pragma once

#include "drawing_surface.h"

#include <QPainter>

class QImage;

namespace morvane {

// Paints the plot onto an image with QPainter: on white in the inks it is given, antialiased, in
// the image's logical pixels, so an image with a device pixel ratio above 1 stays sharp on
// high-density screens. Axis-parallel segments are laid on the pixel grid to keep ticks and axes
// crisp.
class QPainterSurface : public DrawingSurface {
public:
    explicit QPainterSurface(QImage& image);

    void clear() override;
    void setScale(double left, double top, double right, double bottom) override;
    void setLineStyle(LineStyle style) override;
    void setInk(const PlotInk& ink) override;
    void setTextHeight(double height) override;
    void drawLine(PlotPoint from, PlotPoint to) override;
    void drawCircle(PlotPoint centre, double radius) override;
    void drawText(PlotPoint topLeft, const std::string& text) override;
    void drawTextUpwards(double left, double centreY, const std::string& text) override;
    double textWidth(const std::string& text) const override;

private:
    QPointF toPixels(PlotPoint point) const;
    double onPixelGrid(double logical) const;
    void applyPen();
    double penWidthPx() const;

    QImage& mImage;
    SurfaceScale mScale;
    QPainter mPainter;
    LineStyle mStyle = LineStyle::Solid;
    PlotInk mInk;
};

} // namespace morvane
