// Excluded samples drawn only when asked for, in grey, with their legend entries and range.
#include "calibration_plot.h"
#include "excluded_example.h"
#include "recording_surface.h"
#include "svg_surface.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace morvane {
namespace {

RecordingSurface drawn(const PlotOptions& options) {
    const ExcludedExample in;
    RecordingSurface surface;
    DrawCalibrationPlot(surface, in.data, in.results, options);
    return surface;
}

long greyLines(const RecordingSurface& surface) {
    const auto lines = surface.linesDrawn();
    return std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.ink.rgb == 0xAAAAAA; });
}

TEST(ExcludedSamplesTest, HiddenByDefaultShownInGreyWithLegendAndRange) {
    const RecordingSurface hidden = drawn({});
    EXPECT_EQ(greyLines(hidden), 0);
    EXPECT_EQ(hidden.findText("4.50"), nullptr) << "the axes end at 4.25";
    const RecordingSurface shown = drawn({.ShowExcludedSamples = 1});
    EXPECT_EQ(greyLines(shown), 2 * (2 + 4)) << "a cross and a square, on the plot and legend";
    ASSERT_NE(shown.findText("Excluded by SD limit"), nullptr);
    // ln 4.70 takes the axes up to 4.75 (U = 0.5); the legend row is above the title.
    ASSERT_NE(shown.findText("Excluded by INR limits"), nullptr);
    EXPECT_NEAR(shown.findText("Excluded by INR limits")->from.y, 4.75 + 1.15 * 0.5, 1e-12);
    const ExcludedExample in;
    const std::string svg =
        RenderCalibrationPlotSvg(in.data, in.results, {.ShowExcludedSamples = 1}, 600, 600);
    EXPECT_NE(svg.find("stroke=\"#aaaaaa\""), std::string::npos);
    EXPECT_NE(svg.find(">Excluded by SD limit</text>"), std::string::npos);
}

} // namespace
} // namespace morvane
