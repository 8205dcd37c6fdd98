#include "document/ColourText.h"

#include <gtest/gtest.h>

namespace glyfora::document {
namespace {

TEST(ColourTextTest, ReadsSixOrEightHexDigits) {
    struct Case {
        const char* Text;
        std::optional<std::uint32_t> Pixel;
    };
    const Case cases[] = {
        {"FF0000", 0xFF0000FFU},   {"00ff00", 0xFF00FF00U},   {"0000FF80", 0x80FF0000U},
        {"12345678", 0x78563412U}, {"FFFFFF00", 0x00FFFFFFU}, {"", std::nullopt},
        {"FFF", std::nullopt},     {"FFFFFFF", std::nullopt}, {"FFFFFFFFF", std::nullopt},
        {"#FFFFFF", std::nullopt}, {"GG0000", std::nullopt},  {"12 456", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseHexColour(c.Text), c.Pixel) << c.Text;
    }
}

TEST(ColourTextTest, WritesUpperCaseWithAlphaAndReadsBack) {
    for (const std::uint32_t pixel : {0xFF000000U, 0x99000000U, 0x00FFFFFFU, 0x80ABCDEFU}) {
        const std::string text = HexColourText(pixel);
        ASSERT_EQ(text.size(), 9U);
        EXPECT_EQ(text[0], '#');
        EXPECT_EQ(ParseHexColour(std::string_view(text).substr(1)), pixel) << text;
    }
    EXPECT_EQ(HexColourText(0x80ABCDEFU), "#EFCDAB80");
}

} // namespace
} // namespace glyfora::document
