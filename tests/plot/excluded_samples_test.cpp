// The samples left out by the INR and SD limits, drawn only when the options ask for them, and
// the inks of the plot's parts in colour and in black and white.
#include "calibration_plot.h"
#include "plot_ink.h"
#include "recording_surface.h"
#include "svg_surface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace morvane {
namespace {

constexpr std::uint32_t kLightGrey = 0xAAAAAA;

// Samples from ln PT 2.30 to 4.10 in the fit (axes 2.25 to 4.25), an abnormal sample left out by
// the INR limits at ln PT 4.40 and 4.70, and a normal one left out by the SD limit.
struct ExcludedInputs {
    CalibrationDataSet data;
    CalibrationResults results;
    ExcludedInputs() {
        const double ln[][3] = {{2.30, 2.45, 1}, {2.40, 2.35, 1}, {3.00, 3.20, 0}, {3.60, 3.90, 0},
                                {3.90, 4.10, 0}, {4.40, 4.70, 0}, {3.10, 2.60, 1}};
        data.SampleCount = 7;
        for (int row = 1; row <= 7; ++row) {
            data.WorkingPT[row] = std::exp(ln[row - 1][0]);
            data.ReferencePT[row] = std::exp(ln[row - 1][1]);
            data.IsNormal[row] = static_cast<int>(ln[row - 1][2]);
        }
        results.INRExcluded[6] = 1;
        results.SDExcluded[7] = 1;
        results.InterceptAll = Value("0.1000");
        results.SlopeAll = Value("1.0000");
    }
};

RecordingSurface drawn(int showExcluded, int blackAndWhite) {
    const ExcludedInputs in;
    PlotOptions options;
    options.ShowExcludedSamples = showExcluded;
    options.BlackAndWhite = blackAndWhite;
    RecordingSurface surface;
    DrawCalibrationPlot(surface, in.data, in.results, options);
    return surface;
}

int greyLines(const RecordingSurface& surface) {
    int count = 0;
    for (const RecordedPrimitive& line : surface.linesDrawn())
        count += line.ink.rgb == kLightGrey ? 1 : 0;
    return count;
}

TEST(ExcludedSamplesTest, HiddenByDefaultShownInGreyWithLegendAndRange) {
    const RecordingSurface hidden = drawn(0, 1);
    EXPECT_EQ(greyLines(hidden), 0);
    EXPECT_EQ(hidden.findText("Excluded by INR limits"), nullptr);
    EXPECT_NE(hidden.findText("4.25"), nullptr);
    EXPECT_EQ(hidden.findText("4.50"), nullptr) << "the excluded sample does not widen the axes";

    const RecordingSurface shown = drawn(1, 1);
    // A cross (2 lines) and a square (4 lines) on the plot, and again in the legend.
    EXPECT_EQ(greyLines(shown), 12);
    ASSERT_NE(shown.findText("Excluded by INR limits"), nullptr);
    ASSERT_NE(shown.findText("Excluded by SD limit"), nullptr);
    EXPECT_EQ(shown.findText("Excluded by SD limit")->ink.rgb, 0x000000u) << "texts stay black";
    // ln 4.70 rounds the top of the axes up to 4.75 (U = 0.5); the legend row lies in the top
    // margin above the title, at hi + 1.15 U.
    EXPECT_NE(shown.findText("4.75"), nullptr);
    EXPECT_NEAR(shown.findText("Excluded by INR limits")->from.y, 4.75 + 1.15 * 0.5, 1e-12);
}

TEST(ExcludedSamplesTest, ColourGivesEachPartItsInkAndBlackAndWhiteOnlyBlack) {
    const RecordingSurface colour = drawn(0, 0);
    const RecordingSurface mono = drawn(0, 1);
    ASSERT_EQ(colour.primitives.size(), mono.primitives.size()) << "the same drawing";
    for (const RecordedPrimitive& p : mono.primitives)
        EXPECT_EQ(p.ink, PlotInk{}) << "black, the plain pen";
    PlotOptions options;
    options.BlackAndWhite = 0;
    const PlotInk abnormal = InkFor(PlotElement::AbnormalSample, options);
    EXPECT_EQ(colour.circlesDrawn().front().ink, abnormal);
    EXPECT_EQ(abnormal.penScale, 1.5);
    const PlotElement parts[] = {PlotElement::AbnormalSample, PlotElement::NormalSample,
                                 PlotElement::AbnormalNormalLine, PlotElement::AbnormalOnlyLine};
    for (const PlotElement a : parts)
        for (const PlotElement b : parts)
            EXPECT_EQ(a == b, InkFor(a, options).rgb == InkFor(b, options).rgb);
}

TEST(ExcludedSamplesTest, SvgDrawsTheGreyMarkersOnlyWhenAsked) {
    const ExcludedInputs in;
    PlotOptions options;
    EXPECT_EQ(RenderCalibrationPlotSvg(in.data, in.results, options, 600, 600).find("#aaaaaa"),
              std::string::npos);
    options.ShowExcludedSamples = 1;
    const std::string svg = RenderCalibrationPlotSvg(in.data, in.results, options, 600, 600);
    EXPECT_NE(svg.find("stroke=\"#aaaaaa\""), std::string::npos);
    EXPECT_NE(svg.find(">Excluded by SD limit</text>"), std::string::npos);
}

} // namespace
} // namespace morvane
