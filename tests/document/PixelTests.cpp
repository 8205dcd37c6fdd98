#include "document/Pixel.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace glyfora::document {
namespace {

TEST(Pixel, ChannelsAreReadAndPackedAsAabbggrr) {
    constexpr std::uint32_t Pixel = 0x80C0FF10U;
    static_assert(Red(Pixel) == 0x10 && Green(Pixel) == 0xFF && Blue(Pixel) == 0xC0 &&
                  Alpha(Pixel) == 0x80);
    EXPECT_EQ(Rgba(Red(Pixel), Green(Pixel), Blue(Pixel), Alpha(Pixel)), Pixel);
    EXPECT_EQ(ColourOf(Pixel), 0x00C0FF10U);
    EXPECT_EQ(Opaque(Pixel), 0xFFC0FF10U);
    EXPECT_EQ(DivideBy255(127), 0U);
    EXPECT_EQ(DivideBy255(128), 1U);
    EXPECT_EQ(DivideBy255(255 * 255), 255U);
}

TEST(Pixel, AlphaIsSetWithoutTouchingTheColour) {
    const struct {
        std::uint32_t Pixel, Alpha, Expected;
    } cases[] = {
        {0x00000000U, 0xFF, 0xFF000000U},
        {0xFF123456U, 0x00, 0x00123456U},
        {0x80C0FF10U, 0x7F, 0x7FC0FF10U},
        {0x00FFFFFFU, 0x01, 0x01FFFFFFU},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithAlpha(c.Pixel, c.Alpha), c.Expected) << std::hex << c.Pixel;
        EXPECT_EQ(Alpha(WithAlpha(c.Pixel, c.Alpha)), c.Alpha);
    }
    for (const std::uint32_t alpha : {0U, 1U, 0x80U, 0xFFU}) {
        const std::uint32_t white = WhiteWithAlpha(alpha);
        EXPECT_EQ(Red(white), 255U);
        EXPECT_EQ(Green(white), 255U);
        EXPECT_EQ(Blue(white), 255U);
        EXPECT_EQ(Alpha(white), alpha);
    }
}

TEST(Pixel, SourceOverRoundsEachChannelToNearest) {
    const struct {
        std::uint32_t Source, Destination, Expected;
    } cases[] = {
        {0x00FFFFFFU, 0x00000000U, 0x00FFFFFFU}, // onto nothing: copied, colour included
        {0x80123456U, 0x00000000U, 0x80123456U},
        {0x80FFFFFFU, 0x00000000U, 0x80FFFFFFU},
        {0x00FFFFFFU, 0xFF102030U, 0xFF102030U}, // nothing over something
        {0x00FFFFFFU, 0xFF404040U, 0xFF404040U},
        {0xFF0000FFU, 0xFFFF0000U, 0xFF0000FFU}, // opaque over anything
        {0xFF123456U, 0xFF404040U, 0xFF123456U},
        {0x800000FFU, 0xFFFF0000U, 0xFF7F0080U}, // half red over blue: alpha 1, mixed colour
        {0x80FFFFFFU, 0xFF404040U, 0xFFA0A0A0U}, // 160.37
        {0x80FF0000U, 0xFF404040U, 0xFFA02020U},
        {0x0100007FU, 0xFF000000U, 0xFF000000U}, // 127 / 255 = 0.498 rounds down
        {0x01000080U, 0xFF000000U, 0xFF000001U}, // 128 / 255 = 0.502 rounds up
        {0x800000FFU, 0x80FF0000U, 0xC05500AAU}, // half over half: alpha 0.75, red 2/3
        {0x80FFFFFFU, 0x80000000U, 0xC0AAAAAAU}, // alpha 191.75, white weighted 0.6676
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.Source << " over " << c.Destination);
        EXPECT_EQ(BlendSourceOver(c.Source, c.Destination), c.Expected);
    }
}

TEST(Pixel, CoverageIsBlendedBeforeItIsRoundedToEightBits) {
    const struct {
        const char* Name;
        std::uint32_t Colour;
        double Coverage;
        std::uint32_t Destination, Expected;
    } cases[] = {
        {"full coverage", 0xFF20C040U, 1.0, 0x80FFFFFFU, 0xFF20C040U},
        {"full coverage drops the colour's alpha", 0x8020C040U, 1.0, 0x00000000U, 0xFF20C040U},
        {"onto nothing: the coverage becomes alpha", 0xFFFFFFFFU, 0.5, 0x00123456U, 0x80FFFFFFU},
        {"no coverage onto nothing keeps the colour", 0xFFFFFFFFU, 0.0, 0x00123456U, 0x00FFFFFFU},
        {"no coverage onto ink", 0xFFFFFFFFU, 0.0, 0x80123456U, 0x80123456U},
        {"white over half white", 0xFFFFFFFFU, 0.25, 0x80FFFFFFU, 0xA0FFFFFFU},   // 159.75
        {"a faint overlap", 0xFFFFFFFFU, 1.45 / 255.0, 0x80FFFFFFU, 0x81FFFFFFU}, // 128.72
        {"half red over blue", 0xFF0000FFU, 0.5, 0xFFFF0000U, 0xFF800080U},       // 127.5 up
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BlendCoverage(c.Colour, c.Coverage, c.Destination), c.Expected);
    }
    // The same faint overlap with its coverage rounded to 8 bits first gives 128.5 - 1/255.
    EXPECT_EQ(BlendSourceOver(0x01FFFFFFU, 0x80FFFFFFU), 0x80FFFFFFU);
}

} // namespace
} // namespace glyfora::document
