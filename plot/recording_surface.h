#pragma once

#include "drawing_surface.h"

#include <string>
#include <vector>

namespace morvane {

// One drawing operation as a recording surface keeps it.
struct RecordedPrimitive {
    enum class Kind { Line, Circle, Text, UpwardText };
    Kind kind = Kind::Line;
    LineStyle style = LineStyle::Solid; // the line style in force when it was drawn
    PlotPoint from; // line start, circle centre, text's top-left, upward text's (left, middle)
    PlotPoint to;   // line end
    double radius = 0.0;
    std::string text;
    PlotInk ink; // the ink in force when it was drawn
};

// A surface that draws nothing and remembers everything, for checking what a plot consists of.
// clear() forgets the primitives drawn so far and counts itself.
class RecordingSurface : public DrawingSurface {
public:
    void clear() override;
    void setScale(double left, double top, double right, double bottom) override;
    void setLineStyle(LineStyle style) override { mStyle = style; }
    void setInk(const PlotInk& ink) override { mInk = ink; }
    void setTextHeight(double height) override { textHeight = height; }
    void drawLine(PlotPoint from, PlotPoint to) override;
    void drawCircle(PlotPoint centre, double radius) override;
    void drawText(PlotPoint topLeft, const std::string& text) override;
    void drawTextUpwards(double left, double centreY, const std::string& text) override;
    // Every character as wide as half the type size.
    double textWidth(const std::string& text) const override;

    // The primitives of one kind, in drawing order.
    std::vector<RecordedPrimitive> linesDrawn() const;
    std::vector<RecordedPrimitive> circlesDrawn() const;
    std::vector<RecordedPrimitive> textsDrawn() const;
    // The first text primitive (across or upwards) showing exactly this text, or nullptr.
    const RecordedPrimitive* findText(const std::string& text) const;

    std::vector<RecordedPrimitive> primitives;
    int clearCount = 0;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    double textHeight = 0.0;

private:
    std::vector<RecordedPrimitive> ofKind(RecordedPrimitive::Kind kind) const;

    LineStyle mStyle = LineStyle::Solid;
    PlotInk mInk;
};

} // namespace morvane
