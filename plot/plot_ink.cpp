#include "plot_ink.h"

#include "plot_options.h"

namespace morvane {

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kLightGrey = 0xAAAAAA;
// About 1.5 pixels on a picture of the designed size at 96 dots per inch.
constexpr double kColourPenScale = 1.5;

// A palette chosen to stay distinguishable with the common colour-vision deficiencies.
constexpr std::uint32_t kVermilion = 0xD55E00;
constexpr std::uint32_t kBluishGreen = 0x009E73;
constexpr std::uint32_t kBlue = 0x0072B2;
// A darker purple than the usual reddish purple, so that the dotted line stays visible.
constexpr std::uint32_t kPurple = 0xAA3377;

std::uint32_t colourOf(PlotElement element) {
    switch (element) {
    case PlotElement::AbnormalSample:
        return kVermilion;
    case PlotElement::NormalSample:
        return kBluishGreen;
    case PlotElement::AbnormalNormalLine:
        return kBlue;
    case PlotElement::AbnormalOnlyLine:
        return kPurple;
    case PlotElement::ExcludedSample:
        return kLightGrey;
    case PlotElement::Frame:
        break;
    }
    return kBlack;
}

} // namespace

PlotInk InkFor(PlotElement element, const PlotOptions& options) {
    if (element == PlotElement::Frame)
        return {kBlack, 1.0};
    if (options.BlackAndWhite)
        return {element == PlotElement::ExcludedSample ? kLightGrey : kBlack, 1.0};
    return {colourOf(element), kColourPenScale};
}

} // namespace morvane
