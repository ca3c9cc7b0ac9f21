#include "svg_surface.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

// A 200 x 100 picture showing x from 0 to 10 across and y from 0 up to 10: 20 pixels per x
// unit, 10 pixels per y unit, y = 10 at the top edge.
SvgSurface tenByTenOn200By100() {
    SvgSurface surface(200, 100);
    surface.setScale(0, 10, 10, 0);
    return surface;
}

TEST(SvgSurface, MapsUserCoordinatesOntoPixels) {
    SvgSurface s = tenByTenOn200By100();
    s.drawLine({0, 0}, {10, 10});
    s.setLineStyle(LineStyle::Dotted);
    s.drawLine({2.5, 5}, {5, 5});
    s.setLineStyle(LineStyle::Solid);
    s.drawCircle({5, 2}, 1);
    s.setTextHeight(1.5);
    s.drawText({1, 9}, "2.25");
    const std::string svg = s.document();
    EXPECT_NE(svg.find("<line x1=\"0.00\" y1=\"100.00\" x2=\"200.00\" y2=\"0.00\" "
                       "stroke=\"#000000\" stroke-width=\"1.00\" stroke-linecap=\"square\"/>\n"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<line x1=\"50.00\" y1=\"50.00\" x2=\"100.00\" y2=\"50.00\" "
                       "stroke=\"#000000\" stroke-width=\"1.00\" stroke-dasharray=\"1.00 2.00\" "
                       "stroke-linecap=\"butt\"/>\n"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<circle cx=\"100.00\" cy=\"80.00\" r=\"20.00\" fill=\"none\""),
              std::string::npos)
        << svg;
    // Top at 10 px, type 15 px, baseline 0.9 of the type size lower: 23.5 px.
    EXPECT_NE(svg.find("<text x=\"20.00\" y=\"23.50\" font-size=\"15.00\">2.25</text>\n"),
              std::string::npos)
        << svg;
}

TEST(SvgSurface, TurnsUpwardTextAboutItsMiddle) {
    SvgSurface s = tenByTenOn200By100();
    s.setTextHeight(1.5);
    s.drawTextUpwards(1, 5, "RP");
    // Letter tops at 20 px, baseline 0.9 x 15 px to the right of them, middle at 50 px down.
    EXPECT_NE(s.document().find("<text x=\"33.50\" y=\"50.00\" font-size=\"15.00\" "
                                "text-anchor=\"middle\" transform=\"rotate(-90 33.50 50.00)\">"
                                "RP</text>\n"),
              std::string::npos)
        << s.document();
    // 0.6 x 15 px per character, 20 px per x unit.
    EXPECT_DOUBLE_EQ(s.textWidth("RP"), 0.9);
    EXPECT_DOUBLE_EQ(s.textWidth("R\xC3\xA9"), 0.9) << "one character of two bytes";
}

TEST(EscapeXmlText, KeepsEveryTextReadableAsXml) {
    const std::pair<std::string, std::string> cases[] = {
        {"Log PT", "Log PT"},
        {"A<B & \"C\" 'D'>", "A&lt;B &amp; &quot;C&quot; &apos;D&apos;&gt;"},
        {"tab\there", "tab here"},
        {"Thromboplastine \xC3\xA9talon", "Thromboplastine \xC3\xA9talon"},
        {"bad \xE9 byte", "bad \xEF\xBF\xBD byte"},
        {"cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(EscapeXmlText(text), escaped) << text;
}

} // namespace
} // namespace morvane
