#pragma once

#include "drawing_surface.h"

#include <string>
#include <vector>

namespace morvane {

// A surface that writes an SVG picture of the given pixel size: drawing on white in the inks it is
// given (black unless told), every segment a <line>, every circle a <circle>, every text a <text>
// element.
class SvgSurface : public DrawingSurface {
public:
    SvgSurface(int widthPx, int heightPx);

    void clear() override { mElements.clear(); }
    void setScale(double left, double top, double right, double bottom) override;
    void setLineStyle(LineStyle style) override { mStyle = style; }
    void setInk(const PlotInk& ink) override { mInk = ink; }
    void setTextHeight(double height) override { mTextHeight = height; }
    void drawLine(PlotPoint from, PlotPoint to) override;
    void drawCircle(PlotPoint centre, double radius) override;
    void drawText(PlotPoint topLeft, const std::string& text) override;
    void drawTextUpwards(double left, double centreY, const std::string& text) override;
    // An estimate, as the face is chosen by whatever shows the picture: every character as wide
    // as the average of the common sans-serif faces, rounded up.
    double textWidth(const std::string& text) const override;

    // The whole SVG document as drawn so far, UTF-8, lines ending in LF.
    std::string document() const;

private:
    std::string strokeAttributes() const;

    int mWidthPx;
    int mHeightPx;
    SurfaceScale mScale;
    LineStyle mStyle = LineStyle::Solid;
    PlotInk mInk;
    double mTextHeight = 0.0;
    std::vector<std::string> mElements;
};

// A text made safe as XML character data: markup characters escaped, control characters that
// XML cannot carry replaced by a space.
std::string EscapeXmlText(const std::string& text);

} // namespace morvane
