#include "ExpectPixels.h"
#include "views/SoftwareQuadSurface.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace glyfora::views {
namespace {

using document::Image;
using document::Rect64;
using document::Sprite;

constexpr std::uint32_t Black = 0xFF000000U;

Sprite SolidSprite(std::int64_t width, std::int64_t height, std::uint32_t colour) {
    return document::ImageToSprite(document::MakeImage(width, height, colour));
}

GlyphQuad Rectangle(float left, float top, float right, float bottom, float depth = -1.0F) {
    return {
        {{left, top, depth}, {right, top, depth}, {right, bottom, depth}, {left, bottom, depth}}};
}

using test::CountPixels;

TEST(SoftwareQuadSurface, StartsOpaqueBlackAndClearsToAnOpaqueColour) {
    SoftwareQuadSurface surface(4, 3);
    ASSERT_EQ(surface.Target.Width, 4);
    EXPECT_EQ(CountPixels(surface.Target, Black), 12);
    surface.Clear(0x12404040U); // alpha byte ignored
    EXPECT_EQ(CountPixels(surface.Target, 0xFF404040U), 12);

    SoftwareQuadSurface tooLarge(1 << 20, 1 << 20);
    EXPECT_TRUE(tooLarge.Target.Pixels.empty());
    tooLarge.Clear(0);
    tooLarge.DrawQuad(SolidSprite(1, 1, 0xFFFFFFFFU), {0, 0, 1, 1}, Rectangle(0, 0, 5, 5), 255,
                      NoTint);
}

TEST(SoftwareQuadSurface, IntegerRectangleCopiesTheSourceCellTexelForTexel) {
    SoftwareQuadSurface surface(10, 8);
    const Sprite sprite = document::ImageToSprite(test::PositionImage(16, 16));
    surface.DrawQuad(sprite, {3, 5, 4, 2}, Rectangle(2, 1, 6, 3), 255, NoTint);
    for (std::int64_t y = 0; y < 8; ++y) {
        for (std::int64_t x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 1 && y < 3;
            const std::uint32_t expected = inside ? test::PositionColour(x + 1, y + 4) : Black;
            EXPECT_EQ(surface.Target.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST(SoftwareQuadSurface, MagnifiedCellRepeatsTexelsAndNeverSamplesItsNeighbours) {
    // Cell (1, 1, 2, 2) of a sprite whose other texels are red; drawn three times larger at a
    // fractional position, only the cell's own colours may appear.
    Image image = *document::MakeImage(4, 4, 0xFF0000FFU);
    image.At(1, 1) = 0xFF00FF00U;
    image.At(2, 1) = 0xFFFF0000U;
    image.At(1, 2) = 0xFFFFFF00U;
    image.At(2, 2) = 0xFF00FFFFU;
    const Sprite sprite = document::ImageToSprite(image);
    SoftwareQuadSurface surface(12, 12);
    surface.DrawQuad(sprite, {1, 1, 2, 2}, Rectangle(2.3F, 2.3F, 8.3F, 8.3F), 255, NoTint);
    EXPECT_EQ(CountPixels(surface.Target, 0xFF0000FFU), 0);
    EXPECT_EQ(CountPixels(surface.Target, 0xFF00FF00U), 9);
    EXPECT_EQ(CountPixels(surface.Target, 0xFFFF0000U), 9);
    EXPECT_EQ(CountPixels(surface.Target, 0xFFFFFF00U), 9);
    EXPECT_EQ(CountPixels(surface.Target, 0xFF00FFFFU), 9);
    EXPECT_EQ(surface.Target.At(2, 2), 0xFF00FF00U);
    EXPECT_EQ(surface.Target.At(7, 7), 0xFF00FFFFU);
}

// Draws with additive blending a texel whose red is 1, so each pixel's red counts its draws.
struct CoverageCase {
    const char* Name;
    std::vector<GlyphQuad> Quads;
    int ExpectedPixels;
};

TEST(SoftwareQuadSurface, SharedEdgesAreDrawnExactlyOnce) {
    const std::vector<CoverageCase> cases = {
        {"two halves of a rectangle", {Rectangle(0, 0, 7, 10), Rectangle(7, 0, 20, 10)}, 200},
        {"slanted shared edge",
         {{{{0, 0, 1}, {10, 0, 1}, {6, 10, 1}, {0, 10, 1}}},
          {{{10, 0, 1}, {20, 0, 1}, {20, 10, 1}, {6, 10, 1}}}},
         200},
        {"fractional shared edge",
         {Rectangle(0, 0.5F, 7.5F, 9.5F), Rectangle(7.5F, 0.5F, 20, 9.5F)},
         180},
        {"reversed winding", {{{{0, 0, 1}, {0, 10, 1}, {20, 10, 1}, {20, 0, 1}}}}, 200},
    };
    for (const CoverageCase& test : cases) {
        SoftwareQuadSurface surface(24, 12);
        surface.SetBlendMode(BlendFactor::One, BlendFactor::One);
        for (const GlyphQuad& quad : test.Quads) {
            surface.DrawQuad(SolidSprite(2, 2, 0xFF000001U), {0, 0, 2, 2}, quad, 255, NoTint);
        }
        EXPECT_EQ(CountPixels(surface.Target, 0xFF000001U), test.ExpectedPixels) << test.Name;
        EXPECT_EQ(CountPixels(surface.Target, 0xFF000002U), 0) << test.Name;
    }
}

struct BlendCase {
    BlendFactor Source;
    BlendFactor Destination;
    std::uint32_t Src;
    std::uint32_t Dst;
    std::uint32_t Expected;
};

TEST(SoftwareQuadSurface, BlendFactorsKeepTheTargetOpaque) {
    using enum BlendFactor;
    const std::vector<BlendCase> cases = {
        {SourceAlpha, OneMinusSourceAlpha, 0x80FF0000U, 0xFF0000FFU,
         0xFF80007FU}, // half blue over red
        {SourceAlpha, OneMinusSourceAlpha, 0x00FFFFFFU, 0xFF102030U,
         0xFF102030U},                                     // transparent: unchanged
        {One, One, 0xFF808080U, 0xFF909090U, 0xFFFFFFFFU}, // sum clamps
        {Zero, One, 0xFF123456U, 0xFF654321U, 0xFF654321U},
        {One, Zero, 0x40123456U, 0xFF654321U, 0xFF123456U},          // alpha still source-over
        {SourceColour, Zero, 0xFF80FF00U, 0xFF000000U, 0xFF40FF00U}, // s × s
        {OneMinusSourceColour, Zero, 0xFF80FF00U, 0xFF000000U, 0xFF400000U},      // s × (1 - s)
        {DestinationColour, Zero, 0xFF80FF00U, 0xFF8080FFU, 0xFF408000U},         // s × d
        {OneMinusDestinationColour, Zero, 0xFF80FF00U, 0xFF0000FFU, 0xFF80FF00U}, // s × (1 - d)
        {DestinationAlpha, Zero, 0xFF80FF00U, 0xFF0000FFU,
         0xFF80FF00U}, // s × target alpha (opaque)
        {OneMinusDestinationAlpha, One, 0xFF80FF00U, 0xFF0000FFU,
         0xFF0000FFU}, // s × (1 - target alpha) + d
    };
    for (const BlendCase& test : cases) {
        SoftwareQuadSurface surface(1, 1);
        surface.Target.At(0, 0) = test.Dst;
        surface.SetBlendMode(test.Source, test.Destination);
        surface.DrawQuad(SolidSprite(1, 1, test.Src), {0, 0, 1, 1}, Rectangle(0, 0, 1, 1), 255,
                         NoTint);
        EXPECT_EQ(surface.Target.At(0, 0), test.Expected)
            << static_cast<int>(test.Source) << "/" << static_cast<int>(test.Destination) << " "
            << std::hex << test.Src;
    }
}

TEST(SoftwareQuadSurface, InvalidBlendFactorsKeepTheModeBefore) {
    SoftwareQuadSurface surface(1, 1);
    surface.SetBlendMode(BlendFactor::One, BlendFactor::One);
    surface.SetBlendMode(static_cast<BlendFactor>(10), BlendFactor::OneMinusSourceAlpha);
    surface.SetBlendMode(BlendFactor::SourceAlpha, static_cast<BlendFactor>(-1));
    surface.Target.At(0, 0) = 0xFF010101U;
    surface.DrawQuad(SolidSprite(1, 1, 0x00010101U), {0, 0, 1, 1}, Rectangle(0, 0, 1, 1), 255,
                     NoTint);
    EXPECT_EQ(surface.Target.At(0, 0), 0xFF020202U);
}

struct TintCase {
    std::int64_t Opacity;
    std::int64_t Tint;
    std::uint32_t Expected; // over opaque black, ordinary alpha blending
};

TEST(SoftwareQuadSurface, OpacityScalesAlphaAndTintReplacesColour) {
    const std::vector<TintCase> cases = {
        {255, NoTint, 0xFF804020U}, // texel 0xFFFF8040 at alpha 128
        {128, NoTint, 0xFF402010U}, // alpha 128 × 128 / 255 = 64
        {0, NoTint, Black},
        {-7, NoTint, Black},            // clamped to 0
        {900, NoTint, 0xFF804020U},     // clamped to 255
        {255, 0x0000FF, 0xFF000080U},   // red tint, texture alpha kept
        {128, 0xFF0000, 0xFF400000U},   // blue tint at a quarter
        {255, 0x7F00FF00, 0xFF008000U}, // bits above the colour are ignored
    };
    const Sprite sprite = SolidSprite(1, 1, 0x80FF8040U);
    for (const TintCase& test : cases) {
        SoftwareQuadSurface surface(1, 1);
        surface.DrawQuad(sprite, {0, 0, 1, 1}, Rectangle(0, 0, 1, 1), test.Opacity, test.Tint);
        EXPECT_EQ(surface.Target.At(0, 0), test.Expected) << test.Opacity << " " << test.Tint;
    }
}

TEST(SoftwareQuadSurface, DifferingDepthsMapPerspectiveCorrectly) {
    // Two texels across a 16-pixel rectangle whose right side is three times as deep: u/w and 1/w
    // are linear on screen, so the texel boundary (u = 1) sits at x = 12, not in the middle.
    Image image = *document::MakeImage(2, 1);
    image.At(0, 0) = 0xFF0000FFU;
    image.At(1, 0) = 0xFF00FF00U;
    const Sprite sprite = document::ImageToSprite(image);
    SoftwareQuadSurface surface(16, 1);
    surface.DrawQuad(sprite, {0, 0, 2, 1}, {{{0, 0, 1}, {16, 0, 3}, {16, 1, 3}, {0, 1, 1}}}, 255,
                     NoTint);
    for (std::int64_t x = 0; x < 16; ++x) {
        EXPECT_EQ(surface.Target.At(x, 0), x < 12 ? 0xFF0000FFU : 0xFF00FF00U) << x;
    }

    // Equal depths of any value, and depths that change sign, map affinely: boundary at 8.
    for (const float far : {-1.0F, -2.0F}) {
        SoftwareQuadSurface affine(16, 1);
        affine.DrawQuad(sprite, {0, 0, 2, 1}, {{{0, 0, -1}, {16, 0, far}, {16, 1, far}, {0, 1, 1}}},
                        255, NoTint);
        EXPECT_EQ(affine.Target.At(7, 0), 0xFF0000FFU);
        EXPECT_EQ(affine.Target.At(8, 0), 0xFF00FF00U);
    }
}

TEST(SoftwareQuadSurface, BadInputDrawsNothingOrOnlyWhatIsOnTheTarget) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Sprite sprite = SolidSprite(4, 4, 0xFFFFFFFFU);
    SoftwareQuadSurface surface(8, 8);
    surface.DrawQuad(sprite, {0, 0, 4, 4}, Rectangle(0, 0, nan, 4), 255, NoTint);
    surface.DrawQuad(sprite, {0, 0, 4, 4}, Rectangle(0, 0, inf, 4), 255, NoTint);
    surface.DrawQuad(sprite, {0, 0, 0, 4}, Rectangle(0, 0, 4, 4), 255, NoTint);
    surface.DrawQuad(sprite, {0, 0, 4, -1}, Rectangle(0, 0, 4, 4), 255, NoTint);
    surface.DrawQuad(nullptr, {0, 0, 4, 4}, Rectangle(0, 0, 4, 4), 255, NoTint);
    surface.DrawQuad(sprite, {0, 0, 4, 4}, Rectangle(3, 3, 3, 3), 255, NoTint); // no area
    EXPECT_EQ(CountPixels(surface.Target, Black), 64);

    // Depths of zero or infinity fall back to the affine mapping.
    surface.DrawQuad(sprite, {0, 0, 4, 4}, {{{0, 0, 0}, {2, 0, inf}, {2, 2, 1}, {0, 2, 1}}}, 255,
                     NoTint);
    EXPECT_EQ(CountPixels(surface.Target, 0xFFFFFFFFU), 4);

    // Far outside and huge: only the target's pixels are touched.
    surface.DrawQuad(sprite, {0, 0, 4, 4}, Rectangle(-1e30F, -1e30F, 1e30F, 1e30F), 255, NoTint);
    EXPECT_EQ(CountPixels(surface.Target, 0xFFFFFFFFU), 64);
    SoftwareQuadSurface other(8, 8);
    other.DrawQuad(sprite, {0, 0, 4, 4}, Rectangle(100, 100, 200, 200), 255, NoTint);
    other.DrawQuad(sprite, {0, 0, 4, 4}, Rectangle(-200, -200, -100, -100), 255, NoTint);
    EXPECT_EQ(CountPixels(other.Target, Black), 64);
}

TEST(SoftwareQuadSurface, TexelsOutsideTheSpriteAreTransparent) {
    const Sprite sprite = SolidSprite(2, 2, 0xFFFFFFFFU);
    SoftwareQuadSurface surface(4, 4);
    surface.DrawQuad(sprite, {1, 1, 3, 3}, Rectangle(0, 0, 3, 3), 255, NoTint);
    EXPECT_EQ(surface.Target.At(0, 0), 0xFFFFFFFFU);
    EXPECT_EQ(CountPixels(surface.Target, 0xFFFFFFFFU), 1);

    const std::int64_t huge = std::numeric_limits<std::int64_t>::max() / 2;
    surface.DrawQuad(sprite, {huge, -huge, huge, huge}, Rectangle(0, 0, 4, 4), 255, NoTint);
    EXPECT_EQ(CountPixels(surface.Target, 0xFFFFFFFFU), 1);
}

} // namespace
} // namespace glyfora::views

namespace glyfora::views {
namespace {

// A row of two texels, distance 0 (outside) and 255 (inside), black so that only the decoding
// can make them white, magnified four times: pixel centres fall at texture x 0.125, 0.375, …,
// 1.875, and between the texel centres 0.5 and 1.5 the distance rises linearly.
struct DistanceCase {
    const char* Name;
    float ScreenPxRange;
    std::int64_t Opacity;
    std::int64_t Tint;
    std::array<std::uint32_t, 8> Row; // the drawn alpha of each pixel, over black
};

// Over black, a drawn colour whose channels are 0 or 255 keeps just those channels at alpha.
std::uint32_t OverBlack(std::uint32_t colour, std::uint32_t alpha) {
    std::uint32_t pixel = Black;
    for (int shift = 0; shift < 24; shift += 8) {
        pixel |= ((colour >> shift) & 0xFFU) == 0xFFU ? alpha << shift : 0U;
    }
    return pixel;
}

const DistanceCase DistanceCases[] = {
    // Range 1 gives the interpolated distance itself: 255 × 0.125, 0.375, 0.625, 0.875.
    {"range 1", 1.0F, 255, NoTint, {0, 0, 32, 96, 159, 223, 255, 255}},
    // Range 2: 2 × (d − 0.5) + 0.5 at d = 0.375 is 0.25, at 0.625 it is 0.75.
    {"range 2", 2.0F, 255, NoTint, {0, 0, 0, 64, 191, 255, 255, 255}},
    {"range 8 is a hard edge", 8.0F, 255, NoTint, {0, 0, 0, 0, 255, 255, 255, 255}},
    {"opacity scales the decoded alpha", 1.0F, 128, NoTint, {0, 0, 16, 48, 80, 112, 128, 128}},
    {"tint keeps its colour", 2.0F, 255, 0xFF0000, {0, 0, 0, 64, 191, 255, 255, 255}},
    // Without decoding, the nearest texel is drawn as it is: black at full alpha.
    {"decoding off", 0.0F, 255, NoTint, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"not a number is off",
     std::numeric_limits<float>::quiet_NaN(),
     255,
     NoTint,
     {0, 0, 0, 0, 0, 0, 0, 0}},
};

TEST(SoftwareQuadSurfaceDistanceField, DecodesBilinearDistancesAsEnginesDo) {
    Image image = *document::MakeImage(2, 1, 0);
    image.At(0, 0) = 0x00000000U;
    image.At(1, 0) = 0xFF000000U;
    const Sprite sprite = document::ImageToSprite(image);
    for (const DistanceCase& c : DistanceCases) {
        SCOPED_TRACE(c.Name);
        SoftwareQuadSurface surface(8, 1);
        surface.SetDistanceDecoding(c.ScreenPxRange);
        surface.DrawQuad(sprite, {0, 0, 2, 1}, Rectangle(0, 0, 8, 1), c.Opacity, c.Tint);
        const bool decoded = c.ScreenPxRange > 0.0F;
        const std::uint32_t colour =
            c.Tint != NoTint ? static_cast<std::uint32_t>(c.Tint) : (decoded ? 0xFFFFFFU : 0U);
        for (std::int64_t x = 0; x < 8; ++x) {
            EXPECT_EQ(surface.Target.At(x, 0),
                      OverBlack(colour, c.Row[static_cast<std::size_t>(x)]))
                << x;
        }
    }
}

TEST(SoftwareQuadSurfaceDistanceField, SamplesOnlyTheCellAndNothingOutsideTheSprite) {
    // Cell (1, 0, 1, 1) of a 3 × 1 field whose neighbours are fully inside: magnified, the cell's
    // own distance (the edge, 128) is all that shows, so at range 1 every pixel is half white.
    Image image = *document::MakeImage(3, 1, 0xFFFFFFFFU);
    image.At(1, 0) = 0x80FFFFFFU;
    const Sprite sprite = document::ImageToSprite(image);
    SoftwareQuadSurface surface(6, 6);
    surface.SetDistanceDecoding(1.0F);
    surface.DrawQuad(sprite, {1, 0, 1, 1}, Rectangle(0, 0, 6, 6), 255, NoTint);
    EXPECT_EQ(CountPixels(surface.Target, 0xFF808080U), 36);

    // A source beyond the sprite reads transparent there: only its one texel inside shows.
    SoftwareQuadSurface beyond(8, 1);
    beyond.SetDistanceDecoding(8.0F);
    beyond.DrawQuad(sprite, {2, 0, 2, 1}, Rectangle(0, 0, 8, 1), 255, NoTint);
    EXPECT_EQ(CountPixels(beyond.Target, 0xFFFFFFFFU), 4);
    EXPECT_EQ(CountPixels(beyond.Target, Black), 4);
}

} // namespace
} // namespace glyfora::views
