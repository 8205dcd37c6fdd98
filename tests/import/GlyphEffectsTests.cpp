#include "document/Pixel.h"
#include "import/GlyphEffects.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace glyfora::fontimport {
namespace {

constexpr std::int64_t Room = 40; // the picture the paints are clipped to, Room x Room

// A linear alpha rule, so that the fill's alpha is the coverage.
CoverageAlphaRule Linear() {
    CoverageAlphaRule rule{};
    for (std::size_t c = 0; c < rule.size(); ++c) {
        rule[c] = static_cast<float>(c) / 255.0F;
    }
    return rule;
}

// A fully covered rectangle, as a mask exactly its size.
Coverage Block(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
    return {left, top, width, height,
            std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), 255)};
}

// An antialiased disc, its coverage found by sampling each pixel 16 x 16 times.
Coverage Disc(double cx, double cy, double radius) {
    const auto left = static_cast<std::int64_t>(std::floor(cx - radius));
    const auto top = static_cast<std::int64_t>(std::floor(cy - radius));
    const auto size = static_cast<std::int64_t>(std::ceil(2 * radius)) + 2;
    Coverage disc{left, top, size, size, std::vector<std::uint8_t>(size * size, 0)};
    for (std::int64_t y = 0; y < size; ++y) {
        for (std::int64_t x = 0; x < size; ++x) {
            int inside = 0;
            for (int sy = 0; sy < 16; ++sy) {
                for (int sx = 0; sx < 16; ++sx) {
                    const double px = static_cast<double>(left + x) + (sx + 0.5) / 16.0 - cx;
                    const double py = static_cast<double>(top + y) + (sy + 0.5) / 16.0 - cy;
                    inside += px * px + py * py <= radius * radius ? 1 : 0;
                }
            }
            disc.Values[static_cast<std::size_t>(y * size + x)] =
                static_cast<std::uint8_t>(std::lround(inside * 255.0 / 256.0));
        }
    }
    return disc;
}

// Two antialiased discs that overlap, in one mask.
Coverage TwoDiscs() {
    const Coverage both = Disc(17.0, 18.0, 6.0);
    const Coverage other = Disc(23.5, 21.2, 4.5);
    const std::int64_t right = std::max(both.Left + both.Width, other.Left + other.Width);
    const std::int64_t bottom = std::max(both.Top + both.Height, other.Top + other.Height);
    Coverage joined{both.Left, both.Top, right - both.Left, bottom - both.Top, {}};
    joined.Values.assign(static_cast<std::size_t>(joined.Width * joined.Height), 0);
    for (const Coverage* disc : {&both, &other}) {
        for (std::int64_t y = 0; y < disc->Height; ++y) {
            for (std::int64_t x = 0; x < disc->Width; ++x) {
                std::uint8_t& value = joined.Values[static_cast<std::size_t>(
                    (disc->Top + y - joined.Top) * joined.Width + disc->Left + x - joined.Left)];
                value =
                    std::max(value, disc->Values[static_cast<std::size_t>(y * disc->Width + x)]);
            }
        }
    }
    return joined;
}

double CoverageAt(const Coverage& mask, std::int64_t x, std::int64_t y) {
    if (x < mask.Left || y < mask.Top || x >= mask.Left + mask.Width ||
        y >= mask.Top + mask.Height) {
        return 0.0;
    }
    return mask.Values[static_cast<std::size_t>((y - mask.Top) * mask.Width + x - mask.Left)] /
           255.0;
}

// The round outline's alpha at (x, y) straight from its definition: width + 0.5 less the
// smallest distance to an edge over every covered pixel, found by trying them all.
double OutlineByDefinition(const Coverage& mask, double width, std::int64_t x, std::int64_t y) {
    double nearest = 1e9;
    for (std::int64_t qy = mask.Top; qy < mask.Top + mask.Height; ++qy) {
        for (std::int64_t qx = mask.Left; qx < mask.Left + mask.Width; ++qx) {
            const double c = CoverageAt(mask, qx, qy);
            if (c > 0.0) {
                nearest = std::min(nearest, std::hypot(double(x - qx), double(y - qy)) + 0.5 - c);
            }
        }
    }
    return std::clamp(width + 0.5 - nearest, 0.0, 1.0);
}

std::uint32_t PixelAt(const GlyphPaint& paint, std::int64_t x, std::int64_t y) {
    const std::int64_t px = x - paint.Left;
    const std::int64_t py = y - paint.Top;
    if (px < 0 || py < 0 || px >= paint.Pixels.Width || py >= paint.Pixels.Height) {
        return document::WhiteWithAlpha(0);
    }
    return paint.Pixels.At(px, py);
}

TEST(GlyphEffectsTest, ReachOfEachEffect) {
    struct Case {
        const char* Name;
        GlyphEffects Effects;
        EffectReach Reach;
    };
    GlyphEffects outline;
    outline.OutlineWidth = 2.0;
    GlyphEffects fraction;
    fraction.OutlineWidth = 1.25;
    GlyphEffects sharp = outline;
    sharp.Join = document::OutlineJoin::Sharp;
    GlyphEffects shadow;
    shadow.Shadow = true;
    shadow.ShadowX = 3;
    shadow.ShadowY = 1;
    shadow.ShadowBlur = 2.0; // three standard deviations of 1 pixel
    GlyphEffects both = shadow;
    both.OutlineWidth = 1.0;
    both.ShadowX = -2;
    both.ShadowBlur = 0.0;
    GlyphEffects field;
    field.DistanceField = true;
    field.DistanceSpread = 6;
    GlyphEffects fill;
    fill.FillColour = 0xFF0000FF;
    const Case cases[] = {
        {"none", {}, {0, 0, 0, 0}},           {"outline", outline, {2, 2, 2, 2}},
        {"fraction", fraction, {2, 2, 2, 2}}, {"sharp", sharp, {4, 4, 4, 4}},
        {"shadow", shadow, {0, 2, 6, 4}},     {"outline+shadow", both, {3, 1, 1, 2}},
        {"field", field, {6, 6, 6, 6}},       {"fill", fill, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const EffectReach reach = ReachOf(c.Effects);
        EXPECT_EQ(reach.Left, c.Reach.Left) << c.Name;
        EXPECT_EQ(reach.Top, c.Reach.Top) << c.Name;
        EXPECT_EQ(reach.Right, c.Reach.Right) << c.Name;
        EXPECT_EQ(reach.Bottom, c.Reach.Bottom) << c.Name;
    }
}

TEST(GlyphEffectsTest, RoundOutlineFollowsTheDistanceToTheEdge) {
    struct Case {
        const char* Name;
        Coverage Mask;
        double Width;
    };
    const Case cases[] = {
        {"block, 2 px", Block(12, 14, 9, 6), 2.0},  {"block, 1.5 px", Block(12, 14, 9, 6), 1.5},
        {"disc, 3 px", Disc(20.3, 19.6, 5.2), 3.0}, {"disc, 0.5 px", Disc(20.5, 20.5, 3.0), 0.5},
        {"two discs, 4 px", TwoDiscs(), 4.0},
    };
    for (const Case& c : cases) {
        GlyphEffects effects;
        effects.OutlineWidth = c.Width;
        effects.FillColour = 0x00FFFFFF; // an invisible fill leaves the outline alone to see
        const GlyphPaint paint = PaintGlyph(c.Mask, {}, effects, Linear(), {}, Room, Room);
        ASSERT_GT(paint.Pixels.Width, 0) << c.Name;
        int worst = 0;
        for (std::int64_t y = 0; y < Room; ++y) {
            for (std::int64_t x = 0; x < Room; ++x) {
                const auto expected = static_cast<int>(
                    std::lround(255.0 * OutlineByDefinition(c.Mask, c.Width, x, y)));
                const auto got = static_cast<int>(document::Alpha(PixelAt(paint, x, y)));
                worst = std::max(worst, std::abs(got - expected));
            }
        }
        // Float against double rounding at most.
        EXPECT_LE(worst, 1) << c.Name;
    }
}

TEST(GlyphEffectsTest, ShadowIsTheBlurredGlyphMovedByTheOffset) {
    const Coverage block = Block(14, 15, 7, 5);
    GlyphEffects effects;
    effects.Shadow = true;
    effects.ShadowX = 3;
    effects.ShadowY = -2;
    effects.ShadowBlur = 3.0;
    effects.ShadowColour = 0xC0000000;
    effects.FillColour = 0x00FFFFFF;
    const GlyphPaint paint = PaintGlyph(block, {}, effects, Linear(), {}, Room, Room);
    // Gaussian with a standard deviation of half the radius, cut at three of them, over the
    // whole square at once.
    const double sigma = 1.5;
    const int reach = 5;
    double total = 0.0;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            total += std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma));
        }
    }
    int worst = 0;
    for (std::int64_t y = 0; y < Room; ++y) {
        for (std::int64_t x = 0; x < Room; ++x) {
            double sum = 0.0;
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    sum += std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma)) *
                           CoverageAt(block, x - 3 + dx, y + 2 + dy);
                }
            }
            const auto expected = static_cast<int>(std::lround(0xC0 * sum / total));
            const std::uint32_t pixel = PixelAt(paint, x, y);
            worst = std::max(worst, std::abs(static_cast<int>(document::Alpha(pixel)) - expected));
            if (document::Alpha(pixel) > 0) {
                EXPECT_EQ(document::ColourOf(pixel), 0U) << x << "," << y;
            }
        }
    }
    EXPECT_LE(worst, 1);
}

TEST(GlyphEffectsTest, FillGoesOverTheOutlineOverTheShadow) {
    // One pixel half covered: the fill is half over the opaque outline, which covers the shadow.
    const Coverage half{20, 20, 1, 1, {128}};
    GlyphEffects effects;
    effects.OutlineWidth = 2.0;
    effects.OutlineColour = 0xFF0000FF; // red
    effects.Shadow = true;
    effects.ShadowColour = 0xFFFF0000; // blue
    effects.ShadowX = 5;
    const GlyphPaint paint = PaintGlyph(half, {}, effects, Linear(), {}, Room, Room);
    const std::uint32_t expected = document::BlendSourceOver(
        document::WhiteWithAlpha(128), document::BlendSourceOver(0xFF0000FF, 0xFFFF0000));
    EXPECT_EQ(PixelAt(paint, 20, 20), expected);
    EXPECT_EQ(PixelAt(paint, 25, 20), 0xFFFF0000U); // the shadow alone, beyond the outline
    EXPECT_EQ(PixelAt(paint, 21, 20), 0xFF0000FFU); // the outline alone
    // Half the outline's alpha two pixels out; its shadow, half as strong, five further right.
    EXPECT_EQ(PixelAt(paint, 22, 20), 0x800000FFU);
    EXPECT_EQ(PixelAt(paint, 27, 20), 0x80FF0000U);
}

TEST(GlyphEffectsTest, GradientSpansTheLineBox) {
    const Coverage block = Block(5, 10, 3, 20);
    GlyphEffects effects;
    effects.Gradient = true;
    effects.GradientTop = 0xFF0000FF;
    effects.GradientBottom = 0x80FF0000;
    const LineBox line{10.0, 20.0};
    const GlyphPaint paint = PaintGlyph(block, {}, effects, Linear(), line, Room, Room);
    struct Row {
        std::int64_t Y;
        std::uint32_t Pixel;
    };
    // t = (y + 0.5 - 10) / 20, each channel rounded: red 255 -> 0, blue 0 -> 255, alpha 255 -> 128.
    const Row rows[] = {
        {10, document::Rgba(249, 0, 6, 252)},
        {19, document::Rgba(134, 0, 121, 195)},
        {29, document::Rgba(6, 0, 249, 131)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PixelAt(paint, 6, row.Y), row.Pixel) << row.Y;
    }
}

TEST(GlyphEffectsTest, DistanceFieldIsSignedAndSpansTheSpread) {
    // A block from x = 10 to 29: v = floor(128 + 128 d / spread), d positive inside, where a
    // pixel k pixels inside the edge is k + 0.5 from it and one k pixels outside is k - 0.5.
    const Coverage block = Block(10, 10, 20, 20);
    GlyphEffects effects;
    effects.DistanceField = true;
    effects.DistanceSpread = 4;
    const GlyphPaint paint = PaintGlyph(block, {}, effects, Linear(), {}, Room, Room);
    EXPECT_TRUE(paint.DistanceValues);
    EXPECT_EQ(PaintBox(paint), (document::Rect64{6, 6, 28, 28}));
    struct Column {
        std::int64_t X;
        std::uint32_t Value;
    };
    const Column columns[] = {
        {5, 0},    // 4.5 outside: beyond the spread and the paint
        {6, 16},   // 3.5 outside
        {7, 48},   // 2.5 outside
        {9, 112},  // 0.5 outside
        {10, 144}, // 0.5 inside
        {12, 208}, // 2.5 inside
        {13, 240}, // 3.5 inside
        {14, 255}, // beyond the spread
        {20, 255},
    };
    for (const Column& column : columns) {
        const std::uint32_t v = column.Value;
        const std::uint32_t expected =
            v == 0 ? document::WhiteWithAlpha(0) : document::Rgba(v, v, v, v);
        EXPECT_EQ(PixelAt(paint, column.X, 20), expected) << column.X;
    }
    // An edge through a pixel's centre is at 128.
    const GlyphPaint edge =
        PaintGlyph({20, 20, 1, 1, {128}}, {}, effects, Linear(), {}, Room, Room);
    EXPECT_EQ(PixelAt(edge, 20, 20), document::Rgba(128, 128, 128, 128));
}

TEST(GlyphEffectsTest, OverlappingDistanceFieldsJoinByTheirMaximum) {
    document::Image picture{3,
                            1,
                            {document::WhiteWithAlpha(0), document::Rgba(90, 90, 90, 90),
                             document::Rgba(200, 200, 200, 200)}};
    GlyphPaint paint{0,
                     0,
                     {3,
                      1,
                      {document::Rgba(50, 50, 50, 50), document::Rgba(120, 120, 120, 120),
                       document::Rgba(150, 150, 150, 150)}},
                     true};
    DrawPaint(picture, paint);
    EXPECT_EQ(picture.Pixels, (std::vector<std::uint32_t>{document::Rgba(50, 50, 50, 50),
                                                          document::Rgba(120, 120, 120, 120),
                                                          document::Rgba(200, 200, 200, 200)}));
}

TEST(GlyphEffectsTest, PaintIsClippedToThePicture) {
    GlyphEffects effects;
    effects.OutlineWidth = 3.0;
    const GlyphPaint paint = PaintGlyph(Block(1, 37, 4, 2), {}, effects, Linear(), {}, Room, Room);
    EXPECT_EQ(PaintBox(paint), (document::Rect64{0, 34, 8, 6}));
    EXPECT_EQ(PaintGlyph(Block(50, 50, 4, 4), {}, effects, Linear(), {}, Room, Room).Pixels.Width,
              0);
}

TEST(GlyphEffectsTest, DistanceFieldsRefuseTheOtherEffects) {
    GlyphEffects field;
    field.DistanceField = true;
    EXPECT_FALSE(EffectsConflict(field));
    auto with = [field](auto change) {
        GlyphEffects effects = field;
        change(effects);
        return EffectsConflict(effects).has_value();
    };
    EXPECT_TRUE(with([](GlyphEffects& e) { e.OutlineWidth = 1.0; }));
    EXPECT_TRUE(with([](GlyphEffects& e) { e.Shadow = true; }));
    EXPECT_TRUE(with([](GlyphEffects& e) { e.Gradient = true; }));
    EXPECT_TRUE(with([](GlyphEffects& e) { e.FillColour = 0xFF00FF00; }));
    GlyphEffects effects;
    effects.OutlineWidth = 2.0;
    effects.Shadow = true;
    EXPECT_FALSE(EffectsConflict(effects));
}

} // namespace
} // namespace glyfora::fontimport
