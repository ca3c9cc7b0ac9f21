#pragma once

#include <cstdint>

namespace morvane {

struct PlotOptions;

// What a stroke of the plot is drawn with: a colour as 0xRRGGBB and the thickness of the pen as
// a multiple of the surface's own pen, which stays in proportion to the picture.
struct PlotInk {
    std::uint32_t rgb = 0x000000;
    double penScale = 1.0;
    friend bool operator==(const PlotInk&, const PlotInk&) = default;
};

// The parts of the plot that may be told apart by their ink.
enum class PlotElement {
    Frame, // axes, ticks and every text
    AbnormalSample,
    NormalSample,
    AbnormalNormalLine,
    AbnormalOnlyLine,
    ExcludedSample,
};

// The ink of an element. In black and white every element is drawn with the plain black pen,
// but excluded samples in light grey. In colour the samples and the two lines take hues that
// red-green colour-blind readers still tell apart (vermilion, bluish green, blue, purple), with a
// pen half as thick again; markers keep their shapes and the abnormal-only line its dots, so in
// greyscale print nothing rests on the colour alone.
PlotInk InkFor(PlotElement element, const PlotOptions& options);

} // namespace morvane
