#include "recording_surface.h"

#include <algorithm>
#include <iterator>

namespace morvane {

void RecordingSurface::clear() {
    primitives.clear();
    ++clearCount;
}

void RecordingSurface::setScale(double l, double t, double r, double b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
}

void RecordingSurface::drawLine(PlotPoint from, PlotPoint to) {
    primitives.push_back({RecordedPrimitive::Kind::Line, mStyle, from, to, 0.0, {}, mInk});
}

void RecordingSurface::drawCircle(PlotPoint centre, double radius) {
    primitives.push_back(
        {RecordedPrimitive::Kind::Circle, mStyle, centre, centre, radius, {}, mInk});
}

void RecordingSurface::drawText(PlotPoint topLeft, const std::string& text) {
    primitives.push_back(
        {RecordedPrimitive::Kind::Text, mStyle, topLeft, topLeft, 0.0, text, mInk});
}

void RecordingSurface::drawTextUpwards(double left, double centreY, const std::string& text) {
    const PlotPoint at{left, centreY};
    primitives.push_back({RecordedPrimitive::Kind::UpwardText, mStyle, at, at, 0.0, text, mInk});
}

double RecordingSurface::textWidth(const std::string& text) const {
    return 0.5 * textHeight * static_cast<double>(text.size());
}

std::vector<RecordedPrimitive> RecordingSurface::linesDrawn() const {
    return ofKind(RecordedPrimitive::Kind::Line);
}

std::vector<RecordedPrimitive> RecordingSurface::circlesDrawn() const {
    return ofKind(RecordedPrimitive::Kind::Circle);
}

std::vector<RecordedPrimitive> RecordingSurface::textsDrawn() const {
    return ofKind(RecordedPrimitive::Kind::Text);
}

const RecordedPrimitive* RecordingSurface::findText(const std::string& text) const {
    const auto found = std::find_if(primitives.begin(), primitives.end(), [&](const auto& p) {
        return (p.kind == RecordedPrimitive::Kind::Text ||
                p.kind == RecordedPrimitive::Kind::UpwardText) &&
               p.text == text;
    });
    return found == primitives.end() ? nullptr : &*found;
}

std::vector<RecordedPrimitive> RecordingSurface::ofKind(RecordedPrimitive::Kind kind) const {
    std::vector<RecordedPrimitive> chosen;
    std::copy_if(primitives.begin(), primitives.end(), std::back_inserter(chosen),
                 [kind](const RecordedPrimitive& p) { return p.kind == kind; });
    return chosen;
}

} // namespace morvane
