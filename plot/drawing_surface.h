#pragma once

#include "plot_ink.h"

#include <string>

namespace morvane {

// A position in the user coordinates of a drawing surface; the plot uses ln PT for both.
struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

enum class LineStyle { Solid, Dotted };

// Where the calibration plot is drawn. Every position is in user coordinates set by setScale;
// the surface maps them onto its own pixels. The window, the SVG writer and the tests' recorder
// implement it.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // Wipes out everything drawn so far.
    virtual void clear() = 0;
    // Makes (left, top) the top-left and (right, bottom) the bottom-right corner of the surface.
    virtual void setScale(double left, double top, double right, double bottom) = 0;
    // Chooses the style of the lines drawn from now on.
    virtual void setLineStyle(LineStyle style) = 0;
    // Chooses the colour and pen of the lines and circles drawn from now on (texts stay black). A
    // surface that draws in one colour only ignores it.
    virtual void setInk(const PlotInk& ink) { (void)ink; }
    // Chooses the type size of the texts drawn from now on, as a height in user y units.
    virtual void setTextHeight(double height) = 0;
    // Draws the straight segment between two points.
    virtual void drawLine(PlotPoint from, PlotPoint to) = 0;
    // Draws a circle; the radius is measured in user x units, as the circle is round on screen.
    virtual void drawCircle(PlotPoint centre, double radius) = 0;
    // Draws a text on one line with its top-left corner at the given position.
    virtual void drawText(PlotPoint topLeft, const std::string& text) = 0;
    // Draws a text turned a quarter turn to read upwards: the tops of its letters at x = left
    // and its middle at height centreY.
    virtual void drawTextUpwards(double left, double centreY, const std::string& text) = 0;
    // The width a text takes on one line at the current type size, in user x units.
    virtual double textWidth(const std::string& text) const = 0;
};

// The mapping from user coordinates onto a pixel area of the given size, shared by the surfaces
// that paint pixels (y may grow upwards in user coordinates, pixels grow downwards).
class SurfaceScale {
public:
    SurfaceScale(double widthPx, double heightPx) : mWidthPx(widthPx), mHeightPx(heightPx) {}

    void setScale(double left, double top, double right, double bottom) {
        mLeft = left;
        mTop = top;
        mRight = right;
        mBottom = bottom;
    }
    double pixelX(double x) const { return (x - mLeft) / (mRight - mLeft) * mWidthPx; }
    double pixelY(double y) const { return (y - mTop) / (mBottom - mTop) * mHeightPx; }
    // The length in pixels of a distance measured along the user x or y axis, and back.
    double pixelsAlongX(double distance) const;
    double pixelsAlongY(double distance) const;
    double unitsAlongX(double pixels) const;
    // A pen that stays in proportion to the picture: one pixel on a picture about 480 wide.
    double penWidthPx() const;

    double widthPx() const { return mWidthPx; }
    double heightPx() const { return mHeightPx; }

private:
    double mWidthPx;
    double mHeightPx;
    double mLeft = 0.0;
    double mTop = 0.0;
    double mRight = 1.0;
    double mBottom = 1.0;
};

} // namespace morvane
