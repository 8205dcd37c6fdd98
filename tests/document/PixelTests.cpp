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

} // namespace
} // namespace glyfora::document
