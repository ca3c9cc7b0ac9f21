#include "svg_surface.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

// A 200 x 100 picture showing x from 0 to 10 across and y from 0 up to 10: 20 pixels per x
// unit, 10 pixels per y unit, y = 10 at the top edge. Type 1.5 units high is 15 px; a baseline
// lies 0.9 of the type size below the letter tops (at 10 px: 23.5 px), and upward text turns
// about the middle of its line. Characters are 0.6 of the type size wide, 20 px per x unit.
TEST(SvgSurface, MapsUserCoordinatesOntoPixels) {
    SvgSurface s(200, 100);
    s.setScale(0, 10, 10, 0);
    s.drawLine({0, 0}, {10, 10});
    s.setLineStyle(LineStyle::Dotted);
    s.drawLine({2.5, 5}, {5, 5});
    s.setLineStyle(LineStyle::Solid);
    s.drawCircle({5, 2}, 1);
    s.setTextHeight(1.5);
    s.drawText({1, 9}, "2.25");
    s.drawTextUpwards(1, 5, "RP");
    EXPECT_EQ(s.document(),
              testing::ReadBytes(MORVANE_TEST_DATA_DIR "/svg_each_primitive_on_200_by_100.svg"));
    EXPECT_DOUBLE_EQ(s.textWidth("RP"), 0.9);
    EXPECT_DOUBLE_EQ(s.textWidth("R\xC3\xA9"), 0.9) << "one character of two bytes";
    s.setInk({0xD55E00, 1.5}); // a colour plot's pen, half as thick again
    s.drawLine({0, 0}, {1, 1});
    EXPECT_TRUE(s.document().find("stroke=\"#d55e00\" stroke-width=\"1.50\"") != std::string::npos);
}

TEST(EscapeXmlText, KeepsEveryTextReadableAsXml) {
    const std::pair<std::string, std::string> cases[] = {
        {"Log PT", "Log PT"},
        {"A<B & \"C\" 'D'>", "A&lt;B &amp; &quot;C&quot; &apos;D&apos;&gt;"},
        {"tab\there", "tab here"},
        {"Thromboplastine \xC3\xA9talon", "Thromboplastine \xC3\xA9talon"},
        {"bad \xE9 byte", "bad \xEF\xBF\xBD byte"},
        {"cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
        // The first and last characters of two, three and four bytes are kept; surrogates, overlong
        // forms, stray continuation bytes and lead bytes past U+10FFFF are not.
        {"\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
         "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xED\xBF\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF8\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF0\x8F\xBF\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\x80\xF5", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(EscapeXmlText(text), escaped) << text;
}

} // namespace
} // namespace morvane
