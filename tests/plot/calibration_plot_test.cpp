#include "calibration_plot.h"
#include "excluded_example.h"
#include "recording_surface.h"
#include "svg_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace morvane {
namespace {

constexpr double kTolerance = 1e-12; // ln(exp(v)) returns v to within a few ulps

using Kind = RecordedPrimitive::Kind;

RecordingSurface draw(const ExcludedExample& in, const PlotOptions& options = {}) {
    RecordingSurface surface;
    DrawCalibrationPlot(surface, in.data, in.results, options);
    return surface;
}

bool near(PlotPoint p, PlotPoint q) {
    return std::abs(p.x - q.x) < kTolerance && std::abs(p.y - q.y) < kTolerance;
}

int countLines(const RecordingSurface& s, PlotPoint from, PlotPoint to, LineStyle style) {
    const auto lines = s.linesDrawn();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& p) {
        return p.style == style && near(p.from, from) && near(p.to, to);
    }));
}

// Nothing to draw: no range without samples or without width, no line wholly outside the square
// when it is level (clipping it would divide by its zero slope) or not a number.
TEST(PlotGeometry, NothingToDrawGivesNoRangeAndNoLine) {
    EXPECT_FALSE(ComputePlotRange({}));
    EXPECT_FALSE(ComputePlotRange({{{2.5, 2.5}}, {{2.5, 2.5}}}));
    const PlotRange square{2.25, 4.25, 0.4, 8};
    EXPECT_FALSE(ClipCalibrationLine(5.0, 0.0, square)) << "level above";
    EXPECT_FALSE(ClipCalibrationLine(1.0, 0.0, square)) << "level below";
    EXPECT_FALSE(ClipCalibrationLine(std::numeric_limits<double>::quiet_NaN(), 1.0, square));
}

// The default plot: margins of one and a half units, axes and lines clipped to the square (the
// abnormal-only one dotted), a label and a tick every quarter on both axes, and the legend below
// the x axis.
TEST(DrawCalibrationPlot, ScalesTheSurfaceAndDrawsAxesLinesTicksAndLegend) {
    const RecordingSurface s = draw(ExcludedExample());
    const double lo = 2.25, u = 0.4, h = u / 13;
    EXPECT_EQ(s.clearCount, 1);
    EXPECT_TRUE(near({s.left, s.top}, {1.65, 4.85}) && near({s.right, s.bottom}, {4.85, 1.65}));
    EXPECT_EQ(countLines(s, {lo, lo}, {4.25, lo}, LineStyle::Solid), 1) << "x axis";
    EXPECT_EQ(countLines(s, {lo, lo}, {lo, 4.25}, LineStyle::Solid), 1) << "y axis";
    EXPECT_EQ(countLines(s, {lo, 2.35}, {4.15, 4.25}, LineStyle::Solid), 1);
    EXPECT_EQ(countLines(s, {2.75 / 1.2, lo}, {4.75 / 1.2, 4.25}, LineStyle::Dotted), 1);
    for (int j = 0; j <= 8; ++j) {
        const double v = lo + 0.25 * j;
        std::vector<PlotPoint> at;
        for (const auto& t : s.textsDrawn())
            if (t.text == FormatTickLabel(v))
                at.push_back(t.from);
        ASSERT_EQ(at.size(), 2u) << v;
        EXPECT_TRUE(near(at[0], {v - 0.08, 2.17})) << v << " under the x axis";
        EXPECT_TRUE(near(at[1], {lo - u / 1.8, v + 0.05})) << v << " left of y";
        EXPECT_EQ(countLines(s, {v, lo}, {v, 2.21}, LineStyle::Solid), 1) << "x tick " << v;
        EXPECT_EQ(countLines(s, {2.21, v}, {lo, v}, LineStyle::Solid), 1) << "y tick " << v;
    }
    EXPECT_FALSE(s.findText("2.00") || s.findText("4.50"));
    EXPECT_EQ(countLines(s, {lo, lo - u}, {lo + u / 2, lo - u}, LineStyle::Solid), 1);
    EXPECT_EQ(countLines(s, {lo, lo - 1.3 * u}, {lo + u / 2, lo - 1.3 * u}, LineStyle::Dotted), 1);
    EXPECT_TRUE(near(s.findText("Abnormal+normal line")->from, {lo + 0.6 * u, lo - 0.9 * u}));
    EXPECT_TRUE(near(s.findText("Abnormal only line")->from, {lo + 0.6 * u, lo - 1.2 * u}));
    EXPECT_TRUE(near(s.findText("Abnormal sample")->from, {lo + 3.2 * u, lo - 0.9 * u}));
    EXPECT_TRUE(near(s.findText("Normal sample")->from, {lo + 3.2 * u, lo - 1.2 * u}));
    EXPECT_TRUE(near(s.circlesDrawn().back().from, {lo + 3 * u, lo - u}));
    EXPECT_EQ(countLines(s, {lo + 3 * u, lo - 1.3 * u - h}, {lo + 3 * u, lo - 1.3 * u + h},
                         LineStyle::Solid),
              1);
}

// Circles for abnormal samples, plus signs for normal ones; excluded samples are not drawn; a line
// without coefficients is left out, and so is the abnormal-only one when the options say so.
TEST(DrawCalibrationPlot, MarksTheIncludedSamplesAndLeavesOutLinesWithoutCoefficients) {
    ExcludedExample in;
    in.results.SlopeAll = Value("n/a");
    PlotOptions noLegend;
    noLegend.ShowLegend = false;
    noLegend.ShowAbnormalOnlyLine = false;
    const RecordingSurface s = draw(in, noLegend);
    const auto circles = s.circlesDrawn();
    ASSERT_EQ(circles.size(), 3u) << "the excluded abnormal sample is not drawn";
    const PlotPoint centres[] = {{3.00, 3.20}, {3.60, 3.90}, {3.90, 4.10}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(near(circles[i].from, centres[i])) << i;
        EXPECT_NEAR(circles[i].radius, 0.4 / 22, kTolerance);
    }
    const double h = 0.4 / 13;
    EXPECT_EQ(countLines(s, {2.30 - h, 2.45}, {2.30 + h, 2.45}, LineStyle::Solid), 1);
    EXPECT_EQ(countLines(s, {2.30, 2.45 - h}, {2.30, 2.45 + h}, LineStyle::Solid), 1);
    // 2 axes, 9 + 9 ticks, 2 plus signs of 2 segments each: nothing else is a line.
    EXPECT_EQ(s.linesDrawn().size(), 2u + 18u + 4u);
}

// With U = 0.4 the type is 0.08 high and the recorder makes each character 0.04 wide. The room
// from the y title's start (lo - 1.4 U) to the tick labels (lo - U / 1.8) less a gap of 0.05 U
// is 0.3178: seven characters (0.28) fit, eight (0.32) do not and are set upwards along the axis.
TEST(DrawCalibrationPlot, PlacesTitlesWhereTheLayoutPutsThem) {
    PlotOptions options;
    options.PlotTitle = "Lot 7";
    options.XAxisLabel = "Working";
    options.YAxisLabel = "RBT/16a";
    const RecordingSurface even = draw(ExcludedExample(), options);
    EXPECT_TRUE(near(even.findText("Working")->from, {2.25 + 0.88, 2.25 - 0.4 / 2.1}));
    EXPECT_EQ(even.findText("RBT/16a")->kind, Kind::Text);
    EXPECT_TRUE(near(even.findText("RBT/16a")->from, {2.25 - 0.56, 2.25 + 1.125 + 0.05}))
        << "N = 8: half a step above the middle tick";
    EXPECT_TRUE(near(even.findText("Lot 7")->from, {2.65, 4.45}));
    EXPECT_EQ(even.primitives.back().text, "Lot 7") << "the title is drawn last";
    EXPECT_NEAR(even.textHeight, 0.08, kTolerance);

    options.YAxisLabel = "RBT/16";
    ExcludedExample two; // samples from ln PT 2.55 to 4.20: lo = 2.50, N = 7
    two.data.SampleCount = 2;
    two.data.WorkingPT[1] = std::exp(2.55);
    two.data.ReferencePT[1] = std::exp(2.60);
    two.data.WorkingPT[2] = std::exp(4.20);
    two.data.ReferencePT[2] = std::exp(4.10);
    const RecordingSurface odd = draw(two, options);
    EXPECT_TRUE(near(odd.findText("RBT/16")->from, {2.50 - 0.49, 2.50 + 0.875 + 0.04375}))
        << "N = 7: half a step above the middle of the axis";

    options.YAxisLabel = "RBT/16ab";
    const RecordingSurface tall = draw(ExcludedExample(), options);
    const RecordedPrimitive* upwards = tall.findText("RBT/16ab");
    ASSERT_TRUE(upwards);
    EXPECT_EQ(upwards->kind, Kind::UpwardText);
    EXPECT_TRUE(near(upwards->from, {2.25 - 0.56, 3.25})) << "middle of the axis";
}

// In colour each kind of sample and line has a hue of its own, none of them black or grey, drawn
// half as thick again; the frame and texts stay thin black, as every element in black and white.
TEST(PlotInk, ColourGivesEachKindItsOwnHueAndKeepsTheFrameThinBlack) {
    const PlotOptions colour{.BlackAndWhite = false};
    std::set<std::uint32_t> hues{0x000000, 0xAAAAAA};
    for (const PlotElement element :
         {PlotElement::AbnormalSample, PlotElement::NormalSample, PlotElement::AbnormalNormalLine,
          PlotElement::AbnormalOnlyLine}) {
        hues.insert(InkFor(element, colour).rgb);
        EXPECT_EQ(InkFor(element, colour).penScale, 1.5);
        EXPECT_EQ(InkFor(element, PlotOptions{}), PlotInk{});
    }
    EXPECT_EQ(hues.size(), 6u);
    EXPECT_EQ(InkFor(PlotElement::Frame, colour), PlotInk{});
}

long greyLines(const RecordingSurface& surface) {
    const auto lines = surface.linesDrawn();
    return std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.ink.rgb == 0xAAAAAA; });
}

// Excluded samples are drawn only when asked for, in grey, with their legend entries and range.
TEST(DrawCalibrationPlot, ExcludedSamplesHiddenByDefaultShownInGreyWithLegendAndRange) {
    const RecordingSurface hidden = draw(ExcludedExample());
    EXPECT_EQ(greyLines(hidden), 0);
    EXPECT_EQ(hidden.findText("4.50"), nullptr) << "the axes end at 4.25";
    const RecordingSurface shown = draw(ExcludedExample(), {.ShowExcludedSamples = true});
    EXPECT_EQ(greyLines(shown), 2 * (2 + 4)) << "a cross and a square, on the plot and legend";
    EXPECT_EQ(
        greyLines(draw(ExcludedExample(), {.ShowExcludedSamples = true, .BlackAndWhite = false})),
        greyLines(shown));
    EXPECT_TRUE(OptionsForCopies({.BlackAndWhite = false}).BlackAndWhite) << "copies stay black";
    // The cross's arms reach U/13 from its centre, the square's sides U/18 (U = 0.5).
    double greyLength = 0.0;
    for (const auto& l : shown.linesDrawn())
        greyLength += l.ink.rgb == 0xAAAAAA ? std::hypot(l.to.x - l.from.x, l.to.y - l.from.y) : 0;
    EXPECT_NEAR(greyLength, 2 * (4 * std::sqrt(2.0) * 0.5 / 13 + 8 * 0.5 / 18), 1e-12);
    ASSERT_NE(shown.findText("Excluded by SD limit"), nullptr);
    // ln 4.70 takes the axes up to 4.75 (U = 0.5); the legend row is above the title.
    ASSERT_NE(shown.findText("Excluded by INR limits"), nullptr);
    EXPECT_NEAR(shown.findText("Excluded by INR limits")->from.y, 4.75 + 1.15 * 0.5, 1e-12);
    const ExcludedExample in;
    const std::string svg =
        RenderCalibrationPlotSvg(in.data, in.results, {.ShowExcludedSamples = true}, 600, 600);
    EXPECT_NE(svg.find("stroke=\"#aaaaaa\""), std::string::npos);
    EXPECT_NE(svg.find(">Excluded by SD limit</text>"), std::string::npos);
}

} // namespace
} // namespace morvane
