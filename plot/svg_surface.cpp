#include "svg_surface.h"

#include "utf8.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace morvane {

namespace {

// Where the baseline lies below the top of a line of text, as a share of the type size; near
// the ascent of the common sans-serif faces, so texts start where the plot places their tops.
constexpr double kAscentShare = 0.9;
// The average advance of a character of those faces, as a share of the type size, rounded up.
constexpr double kAverageAdvanceShare = 0.6;

// Pixel coordinates with two decimals, independent of the locale.
std::string px(double value) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value + 0.0, std::chars_format::fixed, 2);
    return std::string(text, result.ptr);
}

// A colour as SVG writes it, "#rrggbb".
std::string hexColour(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFFu));
    return text;
}

void appendEscaped(std::string& out, char c) {
    switch (c) {
    case '&':
        out += "&amp;";
        break;
    case '<':
        out += "&lt;";
        break;
    case '>':
        out += "&gt;";
        break;
    case '"':
        out += "&quot;";
        break;
    case '\'':
        out += "&apos;";
        break;
    default:
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
}

} // namespace

std::string EscapeXmlText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        if (!ReadUtf8CodePoint(text, i)) {
            out += "\xEF\xBF\xBD"; // a byte that is no UTF-8 shows as the replacement character
            i = start + 1;
        } else if (i - start == 1) {
            appendEscaped(out, text[start]);
        } else {
            out.append(text, start, i - start);
        }
    }
    return out;
}

SvgSurface::SvgSurface(int widthPx, int heightPx)
    : mWidthPx(std::max(1, widthPx)), mHeightPx(std::max(1, heightPx)),
      mScale(mWidthPx, mHeightPx) {}

void SvgSurface::setScale(double left, double top, double right, double bottom) {
    mScale.setScale(left, top, right, bottom);
}

std::string SvgSurface::strokeAttributes() const {
    const double pen = mScale.penWidthPx() * mInk.penScale;
    std::string attributes =
        " stroke=\"" + hexColour(mInk.rgb) + "\" stroke-width=\"" + px(pen) + "\"";
    // Solid lines end in square caps, so a segment clipped down to one point still shows;
    // dotted lines end flat, so the dots keep their spacing.
    if (mStyle == LineStyle::Dotted)
        attributes +=
            " stroke-dasharray=\"" + px(pen) + " " + px(2 * pen) + "\" stroke-linecap=\"butt\"";
    else
        attributes += " stroke-linecap=\"square\"";
    return attributes;
}

void SvgSurface::drawLine(PlotPoint from, PlotPoint to) {
    mElements.push_back("<line x1=\"" + px(mScale.pixelX(from.x)) + "\" y1=\"" +
                        px(mScale.pixelY(from.y)) + "\" x2=\"" + px(mScale.pixelX(to.x)) +
                        "\" y2=\"" + px(mScale.pixelY(to.y)) + "\"" + strokeAttributes() + "/>");
}

void SvgSurface::drawCircle(PlotPoint centre, double radius) {
    mElements.push_back("<circle cx=\"" + px(mScale.pixelX(centre.x)) + "\" cy=\"" +
                        px(mScale.pixelY(centre.y)) + "\" r=\"" + px(mScale.pixelsAlongX(radius)) +
                        "\" fill=\"none\"" + strokeAttributes() + "/>");
}

void SvgSurface::drawText(PlotPoint topLeft, const std::string& text) {
    const double size = mScale.pixelsAlongY(mTextHeight);
    const double baseline = mScale.pixelY(topLeft.y) + kAscentShare * size;
    mElements.push_back("<text x=\"" + px(mScale.pixelX(topLeft.x)) + "\" y=\"" + px(baseline) +
                        "\" font-size=\"" + px(size) + "\">" + EscapeXmlText(text) + "</text>");
}

void SvgSurface::drawTextUpwards(double left, double centreY, const std::string& text) {
    const double size = mScale.pixelsAlongY(mTextHeight);
    const std::string x = px(mScale.pixelX(left) + kAscentShare * size);
    const std::string y = px(mScale.pixelY(centreY));
    mElements.push_back("<text x=\"" + x + "\" y=\"" + y + "\" font-size=\"" + px(size) +
                        "\" text-anchor=\"middle\" transform=\"rotate(-90 " + x + " " + y + ")\">" +
                        EscapeXmlText(text) + "</text>");
}

double SvgSurface::textWidth(const std::string& text) const {
    const auto characters = Utf8CharacterCount(text);
    const double size = mScale.pixelsAlongY(mTextHeight);
    return mScale.unitsAlongX(kAverageAdvanceShare * size * static_cast<double>(characters));
}

std::string SvgSurface::document() const {
    const std::string width = std::to_string(mWidthPx);
    const std::string height = std::to_string(mHeightPx);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
        width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
        "\" xml:space=\"preserve\"" +
        " font-family=\"Arial, Helvetica, 'Liberation Sans', 'Nimbus Sans', sans-serif\">\n"
        "<rect x=\"0\" y=\"0\" width=\"" +
        width + "\" height=\"" + height + "\" fill=\"#ffffff\"/>\n";
    for (const std::string& element : mElements)
        svg += element + "\n";
    svg += "</svg>\n";
    return svg;
}

} // namespace morvane
