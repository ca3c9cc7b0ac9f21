#include "recording_surface.h"
#include "trend_plot.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace morvane {
namespace {

// Three calibrations on a 696 x 496 picture: the plotting area runs from x = 72 to 672 (200
// pixels for each point, which stands in the middle of its share) and from y = 44 down to 444.
// Their bars reach from 0.98 to 1.15, so the scale runs from 0.95 to 1.15 in steps of 0.05: 2000
// pixels to one ISI unit, 1.15 at the top edge.
const std::vector<TrendPoint> kThree = {
    {"2026-10-01", 1.00, 0.01}, {"2026-11-02", 1.05, 0.02}, {"2026-12-03", 1.10, 0.025}};

bool HasLine(const RecordingSurface& surface, PlotPoint from, PlotPoint to) {
    const auto lines = surface.linesDrawn();
    return std::any_of(lines.begin(), lines.end(), [&](const RecordedPrimitive& line) {
        return line.from == from && line.to == to;
    });
}

TEST(TrendPlot, PlacesEachPointInTheMiddleOfItsShareWithItsBarTwoStandardErrorsEitherWay) {
    const TrendGeometry g = ComputeTrendGeometry(kThree, 696, 496);
    EXPECT_DOUBLE_EQ(g.lo, 0.95);
    EXPECT_DOUBLE_EQ(g.hi, 1.15);
    EXPECT_DOUBLE_EQ(g.step, 0.05);
    ASSERT_EQ(g.marks.size(), 3u);
    const double x[] = {172, 372, 572};
    const double y[] = {344, 244, 144};
    const double barTop[] = {304, 164, 44};
    const double barBottom[] = {384, 324, 244};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(g.marks[i].centre.x, x[i], 1e-9) << i;
        EXPECT_NEAR(g.marks[i].centre.y, y[i], 1e-9) << i;
        EXPECT_NEAR(*g.marks[i].barTop, barTop[i], 1e-9) << i;
        EXPECT_NEAR(*g.marks[i].barBottom, barBottom[i], 1e-9) << i;
    }
}

TEST(TrendPlot, DrawsEachPointWithItsBarAndCapsTheTicksAndTheLabels) {
    RecordingSurface surface;
    DrawTrendPlot(surface, kThree, "ISI of Lot 7", 696, 496);
    const TrendGeometry g = ComputeTrendGeometry(kThree, 696, 496);
    const auto circles = surface.circlesDrawn();
    ASSERT_EQ(circles.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(circles[i].from, g.marks[i].centre);
        const double x = g.marks[i].centre.x;
        EXPECT_TRUE(HasLine(surface, {x, *g.marks[i].barTop}, {x, *g.marks[i].barBottom})) << i;
        EXPECT_TRUE(HasLine(surface, {x - 5, *g.marks[i].barTop}, {x + 5, *g.marks[i].barTop}));
        // A dotted line joins each point to the one before.
        EXPECT_TRUE(i == 0 || HasLine(surface, g.marks[i - 1].centre, g.marks[i].centre)) << i;
    }
    for (const char* text : {"ISI of Lot 7", "ISI", "0.95", "1.00", "1.05", "1.10", "1.15",
                             "2026-10-01", "2026-11-02", "2026-12-03"})
        EXPECT_NE(surface.findText(text), nullptr) << text;
    EXPECT_EQ(surface.findText("1.20"), nullptr);
    // A tick's label ends 4 pixels left of its tick, a date stands centred under its point.
    const RecordedPrimitive* tick = surface.findText("1.00");
    EXPECT_DOUBLE_EQ(tick->from.x + surface.textWidth("1.00"), g.left - 9);
    EXPECT_DOUBLE_EQ(tick->from.y, 344 - 6.5);
    EXPECT_DOUBLE_EQ(surface.findText("2026-11-02")->from.x + surface.textWidth("2026-11-02") / 2,
                     372);
    EXPECT_EQ(surface.findText("ISI")->ink, PlotInk{});  // the frame and texts thin black,
    EXPECT_EQ(circles[0].ink, (PlotInk{0x0072B2, 1.5})); // the points blue and thicker,
    EXPECT_EQ(circles[0].radius, 4.0);                   // with a radius of four pixels;
    EXPECT_EQ(surface.findText("ISI of Lot 7")->from, (PlotPoint{72, 14})); // the title above
    const auto lines = surface.linesDrawn();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const auto& line) { return line.style == LineStyle::Dotted; }),
              2);
}

TEST(TrendPlot, APointWithoutAStandardErrorHasNoBar) {
    const TrendGeometry g = ComputeTrendGeometry({{"a", 1.2, std::nullopt}}, 400, 300);
    ASSERT_EQ(g.marks.size(), 1u);
    EXPECT_FALSE(g.marks[0].barTop);
    EXPECT_LT(g.lo, 1.2);
    EXPECT_GT(g.hi, 1.2);
    EXPECT_DOUBLE_EQ(g.marks[0].centre.y, g.pixelY(1.2));
    EXPECT_NEAR(g.lo + g.hi, 2 * 1.2, 1e-9); // the least span, centred on the one value
}

// A rough step of exactly 1, 2 or 5 times a power of ten is round already, and the labels show
// as many decimals as the step needs.
TEST(TrendPlot, ARoughStepThatIsRoundAlreadyIsKept) {
    for (const auto& [hi, step, label] :
         {std::tuple{3.0, 0.5, "2.5"}, {5.0, 1.0, "3"}, {9.0, 2.0, "8"}}) {
        const std::vector<TrendPoint> two = {{"a", 1.0, std::nullopt}, {"b", hi, std::nullopt}};
        EXPECT_DOUBLE_EQ(ComputeTrendGeometry(two, 400, 300).step, step) << hi;
        RecordingSurface surface;
        DrawTrendPlot(surface, two, "", 400, 300);
        EXPECT_NE(surface.findText(label), nullptr) << label;
    }
}

TEST(TrendPlot, WithoutPointsSaysThereIsNothingToShow) {
    RecordingSurface surface;
    DrawTrendPlot(surface, {}, "ISI of Lot 7", 400, 300);
    EXPECT_NE(surface.findText("No calibration with an ISI to show."), nullptr);
    EXPECT_TRUE(surface.circlesDrawn().empty());
}

} // namespace
} // namespace morvane
