#include "ExpectPixels.h"
#include "document/Pixel.h"
#include "views/ExampleTextRenderer.h"
#include "views/RenderSettingsAccess.h"
#include "views/SoftwareQuadSurface.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::views {
namespace {

using document::Character;
using document::Rect64;
using document::Typeface;
using document::TypefaceRegistry;

constexpr std::int64_t Id = 5;
// The letters of the test typeface; letter k has its cell at x = 8 × k of the sprite.
constexpr std::u16string_view Letters = u"abcdefghiABV";
constexpr std::int64_t CellWidth = 8;
constexpr std::int64_t CellHeight = 12;
constexpr std::int64_t LineHeight = 16;

struct DrawnQuad {
    document::Sprite Sprite;
    Rect64 Source;
    GlyphQuad Corners;
    std::int64_t Opacity = 0;
    std::int64_t Tint = 0;
    float ScreenPxRange = 0.0F; // the distance decoding in force when the quad was drawn
};

// Keeps every call, so that layout can be checked on the quads.
class RecordingSurface final : public QuadSurface {
public:
    void Clear(std::uint32_t) override {}
    void SetBlendMode(BlendFactor, BlendFactor) override {}
    void DrawQuad(const document::Sprite& sprite, const Rect64& source, const GlyphQuad& corners,
                  std::int64_t opacity, std::int64_t tint) override {
        Quads.push_back({sprite, source, corners, opacity, tint, screenPxRange_});
    }
    void SetDistanceDecoding(float screenPxRange) override { screenPxRange_ = screenPxRange; }
    std::vector<DrawnQuad> Quads;
    [[nodiscard]] float DecodingAfterwards() const { return screenPxRange_; }

private:
    float screenPxRange_ = 0.0F;
};

// Every letter advances 10, has an 8 × 12 cell and is drawn 2 below the pen; the space advances
// 10 and sets the line height 16, and has an empty cell. Each sprite texel has its own colour.
Typeface& MakeTestTypeface(TypefaceRegistry& registry, bool withSpace = true,
                           std::int64_t offsetX = 0) {
    Typeface& typeface = *document::CreateTypeface(registry, Id);
    document::Image image =
        *document::MakeImage(CellWidth * static_cast<std::int64_t>(Letters.size()), CellHeight + 4);
    for (std::int64_t y = 0; y < image.Height; ++y) {
        for (std::int64_t x = 0; x < image.Width; ++x) {
            image.At(x, y) = 0xFF000000U | static_cast<std::uint32_t>(y * 2 + 1) << 8 |
                             static_cast<std::uint32_t>(x + 1);
        }
    }
    document::SetCharacterSetImage(typeface, image);
    for (std::size_t k = 0; k < Letters.size(); ++k) {
        Character& glyph = document::AddCharacter(typeface, Letters[k]);
        glyph.Outlay = {offsetX, 2, 10, LineHeight};
        glyph.Source = {CellWidth * static_cast<std::int64_t>(k), 0, CellWidth, CellHeight};
    }
    if (withSpace) {
        Character& space = document::AddCharacter(typeface, u' ');
        space.Outlay = {0, 0, 10, LineHeight};
        space.Source = {0, 0, 0, 0};
    }
    return typeface;
}

char16_t LetterOf(const DrawnQuad& quad) {
    return Letters[static_cast<std::size_t>(quad.Source.X / CellWidth)];
}

// The drawn letters, with "|" wherever a quad sits on another line than the one before.
std::u16string DrawnLines(const std::vector<DrawnQuad>& quads) {
    std::u16string lines;
    for (std::size_t i = 0; i < quads.size(); ++i) {
        if (i > 0 && quads[i].Corners[0].Y != quads[i - 1].Corners[0].Y) {
            lines += u'|';
        }
        lines += LetterOf(quads[i]);
    }
    return lines;
}

std::vector<DrawnQuad> Draw(TypefaceRegistry& registry, std::u16string_view text, float x = 10.0F,
                            float y = 10.0F) {
    RecordingSurface surface;
    DrawTypefaceText(registry, surface, Id, x, y, text);
    return surface.Quads;
}

void ExpectCorner(const QuadCorner& corner, float x, float y) {
    EXPECT_FLOAT_EQ(corner.X, x);
    EXPECT_FLOAT_EQ(corner.Y, y);
}

TEST(ExampleTextLayout, KerningMovesThePenOnlyWhenEnabled) {
    struct Case {
        bool On;
        float PenOfV;
    };
    for (const Case test : {Case{true, 18.0F}, Case{false, 20.0F}}) {
        TypefaceRegistry registry;
        Typeface& typeface = MakeTestTypeface(registry);
        document::AddKerningPair(typeface, u'A', u'V', -2);
        ASSERT_TRUE(SetKerningEnabled(registry, Id, test.On));
        const auto quads = Draw(registry, u"AV");
        ASSERT_EQ(quads.size(), 2U);
        EXPECT_EQ(LetterOf(quads[1]), u'V');
        ExpectCorner(quads[1].Corners[0], test.PenOfV, 12.0F);
        ExpectCorner(quads[0].Corners[0], 10.0F, 12.0F);
    }
}

TEST(ExampleTextLayout, KerningSwitchNeedsPairs) {
    struct Case {
        bool HasPairs;
        bool On;
        std::int64_t Expected;
    };
    for (const Case test :
         {Case{true, true, 1}, Case{true, false, 0}, Case{false, true, 0}, Case{false, false, 0}}) {
        TypefaceRegistry registry;
        Typeface& typeface = MakeTestTypeface(registry);
        if (test.HasPairs) {
            document::AddKerningPair(typeface, 1, 2, 3);
        }
        typeface.Settings.KerningEnabled = 7;
        ASSERT_TRUE(SetKerningEnabled(registry, Id, test.On));
        EXPECT_EQ(typeface.Settings.KerningEnabled, test.Expected);
    }
    TypefaceRegistry registry;
    EXPECT_FALSE(SetKerningEnabled(registry, 9, true));
}

TEST(ExampleTextLayout, LineFeedMovesByTheSpaceHeight) {
    struct Case {
        bool WithSpace;
        float PenYOfB;
    };
    for (const Case test : {Case{true, 26.0F}, Case{false, 10.0F}}) {
        TypefaceRegistry registry;
        MakeTestTypeface(registry, test.WithSpace);
        const auto quads = Draw(registry, u"A\nB");
        ASSERT_EQ(quads.size(), 2U);
        EXPECT_EQ(LetterOf(quads[1]), u'B');
        ExpectCorner(quads[1].Corners[0], 10.0F, test.PenYOfB + 2.0F);
    }
}

TEST(ExampleTextLayout, ScaleDoublesOffsetsAdvancesKerningAndCellsButNotSources) {
    // Once through the argument, once through the typeface's setting.
    for (const bool throughSetting : {false, true}) {
        TypefaceRegistry registry;
        Typeface& typeface = MakeTestTypeface(registry, true, 1);
        document::AddKerningPair(typeface, u'A', u'V', -2);
        RecordingSurface surface;
        if (throughSetting) {
            ASSERT_TRUE(SetScale(registry, Id, 2.0F));
            DrawTypefaceText(registry, surface, Id, 10.0F, 10.0F, u"AV");
        } else {
            DrawTypefaceText(registry, surface, Id, 10.0F, 10.0F, u"AV", DefaultIntegerArgument,
                             DefaultIntegerArgument, 2.0F);
        }
        ASSERT_EQ(surface.Quads.size(), 2U);
        const GlyphQuad& a = surface.Quads[0].Corners;
        ExpectCorner(a[0], 12.0F, 14.0F);
        ExpectCorner(a[1], 28.0F, 14.0F);
        ExpectCorner(a[2], 28.0F, 38.0F);
        ExpectCorner(a[3], 12.0F, 38.0F);
        ExpectCorner(surface.Quads[1].Corners[0], 10.0F + 20.0F - 4.0F + 2.0F, 14.0F);
        EXPECT_EQ(surface.Quads[0].Source, (Rect64{72, 0, 8, 12}));
        EXPECT_EQ(surface.Quads[1].Source, (Rect64{88, 0, 8, 12}));
    }
}

TEST(ExampleTextLayout, ItalicSlantMovesTheBottomEdgeLeft) {
    TypefaceRegistry registry;
    MakeTestTypeface(registry);
    ASSERT_TRUE(SetItalicAngle(registry, Id, 45.0F));
    auto quads = Draw(registry, u"A");
    ASSERT_EQ(quads.size(), 1U);
    ExpectCorner(quads[0].Corners[0], 10.0F, 12.0F);
    ExpectCorner(quads[0].Corners[1], 18.0F, 12.0F);
    ExpectCorner(quads[0].Corners[2], 6.0F, 24.0F);
    ExpectCorner(quads[0].Corners[3], -2.0F, 24.0F);

    // The angle argument wins over the setting; AlignY shifts the block up by its height and
    // the cell tops right by (line advance - offset) × slant.
    RecordingSurface surface;
    DrawTypefaceText(registry, surface, Id, 10.0F, 10.0F, u"A", DefaultIntegerArgument,
                     DefaultIntegerArgument, DefaultFloatArgument, 0.0F);
    ExpectCorner(surface.Quads.at(0).Corners[3], 10.0F, 24.0F);
    ASSERT_TRUE(SetAlignY(registry, Id, 1.0F));
    quads = Draw(registry, u"A");
    ExpectCorner(quads.at(0).Corners[0], 10.0F + 14.0F, 10.0F - 16.0F + 2.0F);
    ExpectCorner(quads.at(0).Corners[3], 10.0F + 14.0F - 12.0F, 10.0F - 16.0F + 14.0F);
}

TEST(ExampleTextLayout, AlignXPlacesEveryLineWithinTheBlock) {
    struct Case {
        float Align;
        float FirstPen;
        float SecondPen;
    };
    for (const Case test :
         {Case{0.5F, 80.0F, 90.0F}, Case{1.0F, 60.0F, 80.0F}, Case{0.0F, 100.0F, 100.0F}}) {
        TypefaceRegistry registry;
        MakeTestTypeface(registry);
        ASSERT_TRUE(SetAlignX(registry, Id, test.Align));
        const auto quads = Draw(registry, u"aaaa\naa", 100.0F, 0.0F);
        ASSERT_EQ(quads.size(), 6U);
        ExpectCorner(quads[0].Corners[0], test.FirstPen, 2.0F);
        ExpectCorner(quads[4].Corners[0], test.SecondPen, 18.0F);
    }
}

TEST(ExampleTextLayout, AlignmentRoundsHalvesAwayFromZero) {
    struct Case {
        float Align;
        std::u16string_view Text;
        float FirstPen;
        float SecondPen;
    };
    // Letter spacing 2.5 makes every advance 12.5.
    const std::vector<Case> cases = {
        {1.0F, u"a", 100.0F - 13.0F, 0.0F},                      // -12.5 -> -13
        {0.5F, u"a", 100.0F - 6.0F, 0.0F},                       // -6.25 -> -6
        {0.5F, u"aa\na", 100.0F - 13.0F, 100.0F - 13.0F + 6.0F}, // 6.25 -> 6
        {0.2F, u"aa\na", 100.0F - 5.0F, 100.0F - 5.0F + 3.0F},   // -5; 0.2F × 12.5 -> 3
    };
    for (const Case& test : cases) {
        TypefaceRegistry registry;
        MakeTestTypeface(registry);
        ASSERT_TRUE(SetLetterSpacing(registry, Id, 2.5F));
        ASSERT_TRUE(SetAlignX(registry, Id, test.Align));
        const auto quads = Draw(registry, test.Text, 100.0F, 0.0F);
        ASSERT_FALSE(quads.empty());
        EXPECT_FLOAT_EQ(quads.front().Corners[0].X, test.FirstPen) << test.Align;
        if (test.SecondPen != 0.0F) {
            EXPECT_FLOAT_EQ(quads.back().Corners[0].X, test.SecondPen) << test.Align;
        }
    }
}

TEST(ExampleTextLayout, WrapsAtTheLastSpaceThatFits) {
    TypefaceRegistry registry;
    Typeface& typeface = MakeTestTypeface(registry);
    ASSERT_TRUE(SetMaxLineWidth(registry, Id, 50.0F));
    float width = -1.0F;
    float height = -1.0F;
    EXPECT_EQ(MeasureTypefaceLine(typeface, u"abc def ghi", 1.0F, &width, &height), 4);
    EXPECT_EQ(width, 30.0F);
    EXPECT_EQ(height, 16.0F);
    EXPECT_EQ(DrawnLines(Draw(registry, u"abc def ghi")), u"abc|def|ghi");
    const auto quads = Draw(registry, u"abc def ghi");
    ExpectCorner(quads.at(3).Corners[0], 10.0F, 10.0F + 16.0F + 2.0F);
}

TEST(ExampleTextLayout, WordsWiderThanTheWrapWidthAreBrokenAndDrawingEnds) {
    struct Case {
        float MaxLineWidth;
        std::u16string_view Text;
        std::u16string_view Lines;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<Case> cases = {
        {25.0F, u"abcdefg", u"ab|cd|ef|g"},
        {25.0F, u"ab cdefg", u"ab|cd|ef|g"},
        {5.0F, u"abc", u"a|b|c"},
        {-1.0F, u"abc", u"a|b|c"},
        {nan, u"ab", u"a|b"},
        {0.0F, u"abcdefg", u"abcdefg"},
    };
    for (const Case& test : cases) {
        TypefaceRegistry registry;
        MakeTestTypeface(registry);
        ASSERT_TRUE(SetMaxLineWidth(registry, Id, test.MaxLineWidth));
        EXPECT_EQ(DrawnLines(Draw(registry, test.Text)), test.Lines) << test.MaxLineWidth;
    }

    TypefaceRegistry registry;
    Typeface& typeface = MakeTestTypeface(registry);
    ASSERT_TRUE(SetMaxLineWidth(registry, Id, 25.0F));
    float width = 0.0F;
    EXPECT_EQ(MeasureTypefaceLine(typeface, u"abcdefg", 1.0F, &width, nullptr), 2);
    EXPECT_EQ(width, 20.0F);
    EXPECT_EQ(MeasureTypefaceLine(typeface, u"V", 1.0F, &width, nullptr), 1);
    EXPECT_EQ(width, 10.0F);
}

TEST(ExampleTextLayout, MeasuresLinesAndBlocks) {
    struct Case {
        bool WithSpace;
        float Scale;
        std::u16string_view Text;
        float Width;
        float Height;
    };
    const std::vector<Case> cases = {
        {true, 1.0F, u"abc\ndefg", 40.0F, 32.0F}, {true, 2.0F, u"abc\ndefg", 80.0F, 64.0F},
        {false, 1.0F, u"abc\ndefg", 40.0F, 0.0F}, {true, 1.0F, u"abc\n", 30.0F, 16.0F},
        {true, 1.0F, u"\n\n", 0.0F, 32.0F},       {true, 1.0F, u"", 0.0F, 0.0F},
        {true, 1.0F, u"xyz", 0.0F, 16.0F}, // missing characters take no room
    };
    for (const Case& test : cases) {
        TypefaceRegistry registry;
        MakeTestTypeface(registry, test.WithSpace);
        float width = -1.0F;
        float height = -1.0F;
        MeasureTypefaceText(registry, Id, test.Text, &width, &height, test.Scale);
        EXPECT_EQ(width, test.Width) << test.Scale;
        EXPECT_EQ(height, test.Height) << test.Scale;
    }
    TypefaceRegistry registry;
    float width = -1.0F;
    MeasureTypefaceText(registry, 3, u"abc", &width, nullptr);
    EXPECT_EQ(width, 0.0F);
}

TEST(ExampleTextLayout, NothingIsDrawnWithoutSomethingToDraw) {
    TypefaceRegistry registry;
    Typeface& typeface = MakeTestTypeface(registry);
    EXPECT_TRUE(Draw(registry, u"").empty());
    EXPECT_TRUE(Draw(registry, u"xyz\x01\r\n\xFFFF").empty());
    EXPECT_EQ(DrawnLines(Draw(registry, std::u16string_view(u"a\0b", 3))), u"a");

    RecordingSurface surface;
    DrawTypefaceText(registry, surface, 6, 0.0F, 0.0F, u"abc");
    DrawTypefaceText(registry, surface, document::DefaultTypefaceId, 0.0F, 0.0F, u"abc");
    EXPECT_TRUE(surface.Quads.empty());
    typeface.Content.Sprite = nullptr;
    EXPECT_TRUE(Draw(registry, u"abc").empty());
}

TEST(ExampleTextLayout, SettingsThroughTheDefaultIdReachLaterTypefaces) {
    TypefaceRegistry registry;
    ASSERT_TRUE(SetLetterSpacing(registry, document::DefaultTypefaceId, 3.0F));
    ASSERT_TRUE(SetClipRect(registry, document::DefaultTypefaceId, 1.0F, 2.0F, 3.0F, 4.0F));
    MakeTestTypeface(registry);
    EXPECT_EQ(DrawnLines(Draw(registry, u"ab")), u"ab"); // ClipRect was not copied
    ExpectCorner(Draw(registry, u"ab").at(1).Corners[0], 10.0F + 13.0F, 12.0F);
    EXPECT_FALSE(SetScale(registry, 77, 2.0F));
}

TEST(ExampleTextLayout, IntensityAndTintComeFromSettingsUnlessGiven) {
    struct Case {
        std::int64_t Intensity;
        std::int64_t Tint;
        std::int64_t ExpectedOpacity;
        std::int64_t ExpectedTint;
    };
    const std::vector<Case> cases = {
        {DefaultIntegerArgument, DefaultIntegerArgument, 200, 0x00FF00},
        {17, DefaultIntegerArgument, 17, 0x00FF00},
        {DefaultIntegerArgument, NoTint, 200, NoTint},
        {255, 0x123456, 255, 0x123456},
    };
    for (const Case& test : cases) {
        TypefaceRegistry registry;
        MakeTestTypeface(registry);
        ASSERT_TRUE(SetIntensity(registry, Id, 200));
        ASSERT_TRUE(SetTintColour(registry, Id, 0x00FF00));
        RecordingSurface surface;
        DrawTypefaceText(registry, surface, Id, 0.0F, 0.0F, u"a", test.Intensity, test.Tint);
        ASSERT_EQ(surface.Quads.size(), 1U);
        EXPECT_EQ(surface.Quads[0].Opacity, test.ExpectedOpacity);
        EXPECT_EQ(surface.Quads[0].Tint, test.ExpectedTint);
    }
}

TEST(ExampleTextClipping, MovesEdgesAndCutsTheSourceRectangle) {
    struct Case {
        const char* Name;
        float Scale;
        std::array<float, 4> Clip;
        std::optional<Rect64> Source; // none: nothing drawn
        QuadCorner TopLeft;
        QuadCorner BottomRight;
    };
    // Letter c: cell (16, 0, 8, 12), drawn at (10, 12) to (18, 24) with scale 1.
    const std::vector<Case> cases = {
        {"no clip rectangle", 1.0F, {12, 14, 0, 100}, Rect64{16, 0, 8, 12}, {10, 12}, {18, 24}},
        {"all four edges", 1.0F, {12, 14, 4, 6}, Rect64{18, 2, 4, 6}, {12, 14}, {16, 20}},
        {"bottom only", 1.0F, {0, 0, 100, 20}, Rect64{16, 0, 8, 8}, {10, 12}, {18, 20}},
        {"inside", 1.0F, {0, 0, 100, 100}, Rect64{16, 0, 8, 12}, {10, 12}, {18, 24}},
        {"half texel, ties to even",
         2.0F,
         {11, 0, 100, 100},
         Rect64{16, 0, 8, 12},
         {11, 14},
         {26, 38}},
        {"one and a half texels",
         2.0F,
         {13, 0, 100, 100},
         Rect64{18, 0, 6, 12},
         {13, 14},
         {26, 38}},
        {"wholly right", 1.0F, {50, 0, 10, 100}, std::nullopt, {}, {}},
        {"wholly left", 1.0F, {0, 0, 5, 100}, std::nullopt, {}, {}},
        {"wholly below", 1.0F, {0, 30, 100, 10}, std::nullopt, {}, {}},
        {"touching edge", 1.0F, {18, 0, 10, 100}, std::nullopt, {}, {}},
    };
    for (const Case& test : cases) {
        TypefaceRegistry registry;
        MakeTestTypeface(registry);
        ASSERT_TRUE(SetScale(registry, Id, test.Scale));
        ASSERT_TRUE(
            SetClipRect(registry, Id, test.Clip[0], test.Clip[1], test.Clip[2], test.Clip[3]));
        const auto quads = Draw(registry, u"c");
        if (!test.Source) {
            EXPECT_TRUE(quads.empty()) << test.Name;
            continue;
        }
        ASSERT_EQ(quads.size(), 1U) << test.Name;
        EXPECT_EQ(quads[0].Source, *test.Source) << test.Name;
        ExpectCorner(quads[0].Corners[0], test.TopLeft.X, test.TopLeft.Y);
        ExpectCorner(quads[0].Corners[2], test.BottomRight.X, test.BottomRight.Y);
    }
}

TEST(ExampleTextTransforms, ArcTurnsGlyphsRigidlyOntoTheCircle) {
    TypefaceRegistry registry;
    Typeface& typeface = MakeTestTypeface(registry);
    typeface.Settings.ArcRadius = 100.0F;
    const float a = 30.0F;
    GlyphQuad quad{{{22, -10, 1}, {30, -10, 1}, {30, 0, 1}, {22, 0, 1}}};
    BendQuadOntoArc(typeface, quad, a, 0.0F);
    // (a, 0) lands on the circle of radius 100 about (0, 100), turned by a / R.
    EXPECT_NEAR(std::hypot(quad[2].X, quad[2].Y - 100.0F), 100.0, 1e-3);
    EXPECT_NEAR(quad[2].X, 100.0 * std::sin(0.3), 1e-3);
    EXPECT_NEAR(std::hypot(quad[1].X - quad[0].X, quad[1].Y - quad[0].Y), 8.0, 1e-4);
    EXPECT_NEAR(std::hypot(quad[2].X - quad[1].X, quad[2].Y - quad[1].Y), 10.0, 1e-4);
    EXPECT_NEAR(std::atan2(quad[1].Y - quad[0].Y, quad[1].X - quad[0].X), 0.3, 1e-5);

    GlyphQuad still{{{-5, -3, 1}, {0, -3, 1}, {0, 4, 1}, {-5, 4, 1}}};
    const GlyphQuad before = still;
    BendQuadOntoArc(typeface, still, 0.0F, 0.0F);
    for (std::size_t i = 0; i < 4; ++i) {
        ExpectCorner(still[i], before[i].X, before[i].Y);
    }
}

TEST(ExampleTextTransforms, ArcThroughItsCentreSkipsGlyphsWithoutFailing) {
    TypefaceRegistry registry;
    MakeTestTypeface(registry);
    ASSERT_TRUE(SetArcRadius(registry, Id, 16.0F)); // the second line's pen y
    const auto quads = Draw(registry, u"ab\nab\nab", 0.0F, 0.0F);
    ASSERT_EQ(quads.size(), 4U); // the middle line is left out
    for (const DrawnQuad& quad : quads) {
        EXPECT_NE(quad.Corners[0].Y, quad.Corners[1].Y); // turned
    }
    EXPECT_GT(quads[2].Corners[0].Y, quads[1].Corners[0].Y + 16.0F);
}

TEST(ExampleTextTransforms, ProjectionMapsCornersAndSetsDepths) {
    struct Case {
        const char* Name;
        std::array<std::array<float, 3>, 3> Matrix;
        std::array<float, 3> Centre;
        QuadCorner In;
        QuadCorner Out;
    };
    const std::array<std::array<float, 3>, 3> identity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const std::array<std::array<float, 3>, 3> tilted{{{1, 0, 0}, {0, 1, 0}, {0, 0.01F, 1}}};
    const std::vector<Case> cases = {
        {"defaults", identity, {0, 0, -1}, {4, 50}, {4, 50, -1}},
        {"scaling", {{{2, 0, 0}, {0, 3, 0}, {0, 0, 1}}}, {0, 0, -1}, {4, 50}, {8, 150, -1}},
        {"centre cancels out", identity, {10, 20, -2}, {4, 50}, {4, 50, -2}},
        {"perspective", tilted, {0, 0, -1}, {4, 50}, {8, 100, -0.5F}},
        {"perspective at the top", tilted, {0, 0, -1}, {4, 0}, {4, 0, -1}},
        {"mirror", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0, 0, -1}, {4, 50}, {-4, 50, -1}},
    };
    for (const Case& test : cases) {
        TypefaceRegistry registry;
        Typeface& typeface = MakeTestTypeface(registry);
        ASSERT_TRUE(SetProjection(registry, Id, test.Matrix));
        ASSERT_TRUE(
            SetProjectionCentre(registry, Id, test.Centre[0], test.Centre[1], test.Centre[2]));
        GlyphQuad quad{test.In, test.In, test.In, test.In};
        ProjectQuad(typeface, quad);
        EXPECT_NEAR(quad[3].X, test.Out.X, 1e-4) << test.Name;
        EXPECT_NEAR(quad[3].Y, test.Out.Y, 1e-4) << test.Name;
        EXPECT_NEAR(quad[3].W, test.Out.W, 1e-6) << test.Name;
    }
}

TEST(ExampleTextTransforms, MirroredQuadsUseTheFlippedCopyOrTheSpriteDirectly) {
    TypefaceRegistry registry;
    Typeface& typeface = MakeTestTypeface(registry);
    ASSERT_TRUE(SetProjection(registry, Id, {{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
    ASSERT_TRUE(SetClipRect(registry, Id, -1000, 0, 2000, 5)); // not applied to mirrored quads
    auto quads = Draw(registry, u"c", 0.0F, 0.0F);
    ASSERT_EQ(quads.size(), 1U);
    EXPECT_EQ(quads[0].Sprite, document::FlippedSprite(typeface.Content));
    EXPECT_EQ(quads[0].Source, (Rect64{16, 16 - 0 - 12, 8, 12}));
    ExpectCorner(quads[0].Corners[0], 0.0F, 14.0F); // q3
    ExpectCorner(quads[0].Corners[2], -8.0F, 2.0F); // q1

    // The same copy again, so a surface uploads it once.
    EXPECT_EQ(Draw(registry, u"c", 0.0F, 0.0F).at(0).Sprite, quads[0].Sprite);
}

TEST(ExampleTextTransforms, OnlyMirroredQuadsMakeTheFlippedCopy) {
    TypefaceRegistry registry;
    Typeface& typeface = MakeTestTypeface(registry);
    typeface.Content.Flipped = {};
    const auto quads = Draw(registry, u"cab", 0.0F, 0.0F);
    ASSERT_EQ(quads.size(), 3U);
    EXPECT_EQ(quads[0].Sprite, typeface.Content.Sprite);
    EXPECT_EQ(typeface.Content.Flipped.Copy, nullptr);

    ASSERT_TRUE(SetProjection(registry, Id, {{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}}));
    EXPECT_EQ(Draw(registry, u"c", 0.0F, 0.0F).at(0).Sprite, typeface.Content.Flipped.Copy);
    EXPECT_NE(typeface.Content.Flipped.Copy, nullptr);
}

// Pixels through the software surface.

document::Image Render(TypefaceRegistry& registry, std::u16string_view text, float x, float y) {
    SoftwareQuadSurface surface(64, 48);
    surface.Clear(0x404040U);
    surface.SetBlendMode(BlendFactor::SourceAlpha, BlendFactor::OneMinusSourceAlpha);
    DrawTypefaceText(registry, surface, Id, x, y, text);
    return surface.Target;
}

std::int64_t CountChanged(const document::Image& image) {
    return image.Width * image.Height - test::CountPixels(image, 0xFF404040U);
}

TEST(ExampleTextPixels, CellsLandTexelForTexelAndMagnifyByPixelReplication) {
    for (const std::int64_t scale : {1, 2}) {
        TypefaceRegistry registry;
        Typeface& typeface = MakeTestTypeface(registry);
        ASSERT_TRUE(SetScale(registry, Id, static_cast<float>(scale)));
        const document::Image image = Render(registry, u"bc", 3.0F, 4.0F);
        EXPECT_EQ(CountChanged(image), 2 * 8 * 12 * scale * scale);
        const document::Image& sprite = *typeface.Content.Sprite;
        for (std::int64_t ty = 0; ty < CellHeight; ++ty) {
            for (std::int64_t tx = 0; tx < CellWidth; ++tx) {
                const std::int64_t px = 3 + tx * scale;
                const std::int64_t py = 4 + 2 * scale + ty * scale;
                EXPECT_EQ(image.At(px + scale - 1, py + scale - 1), sprite.At(8 + tx, ty));
                EXPECT_EQ(image.At(px + 10 * scale, py), sprite.At(16 + tx, ty));
            }
        }
    }
}

TEST(ExampleTextPixels, MirroredGlyphsDrawEveryTexelFromTheFlippedCopy) {
    struct Case {
        const char* Name;
        std::array<std::array<float, 3>, 3> Matrix;
        float Scale;
        float X; // origin that keeps both glyphs on the 64 × 48 target
        float Y;
    };
    const std::vector<Case> cases = {
        {"left-right", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1.0F, 40.0F, 4.0F},
        {"left-right, scale 2", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 2.0F, 60.0F, 4.0F},
        {"upside down", {{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}}, 1.0F, 4.0F, 44.0F},
        {"upside down, scale 3", {{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}}, 3.0F, 4.0F, 44.0F},
    };
    for (const Case& test : cases) {
        TypefaceRegistry registry;
        Typeface& typeface = MakeTestTypeface(registry);
        ASSERT_TRUE(SetProjection(registry, Id, test.Matrix));
        ASSERT_TRUE(SetScale(registry, Id, test.Scale));
        typeface.Content.Flipped = {};
        const document::Image flipped = Render(registry, u"ab", test.X, test.Y);
        const auto drawn = static_cast<std::int64_t>(2 * 8 * 12 * test.Scale * test.Scale);
        EXPECT_EQ(CountChanged(flipped), drawn) << test.Name;
        EXPECT_NE(typeface.Content.Flipped.Copy, nullptr) << test.Name;
    }

    // Left-right at scale 1: texel (tx, ty) of a lands at (39 - tx, 46 + ty).
    TypefaceRegistry registry;
    Typeface& typeface = MakeTestTypeface(registry);
    ASSERT_TRUE(SetProjection(registry, Id, {{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
    const document::Image image = Render(registry, u"a", 40.0F, 30.0F);
    EXPECT_EQ(image.At(39, 32), typeface.Content.Sprite->At(0, 0));
    EXPECT_EQ(image.At(32, 43), typeface.Content.Sprite->At(7, 11));
}

TEST(ExampleTextPixels, IntensityAndTintBlendOverTheBackground) {
    TypefaceRegistry registry;
    MakeTestTypeface(registry);
    SoftwareQuadSurface surface(32, 32);
    surface.Clear(0x000000U);
    DrawTypefaceText(registry, surface, Id, 0.0F, 0.0F, u"a", 51, 0x0000FF);
    // Opaque texels at a fifth: red 255 × 51 / 255 = 51 over black.
    EXPECT_EQ(surface.Target.At(0, 2), 0xFF000033U);
    EXPECT_EQ(surface.Target.At(7, 13), 0xFF000033U);
    EXPECT_EQ(surface.Target.At(8, 2), 0xFF000000U);
}

TEST(ExampleTextDistanceField, SurfaceDecodesWithTheRangeAtTheDrawingScale) {
    const struct {
        const char* Name;
        const char* FieldType;
        const char* Range;
        float Scale;
        float Expected;
    } cases[] = {
        {"sdf at 1", "sdf", "8", 1.0F, 8.0F},
        {"sdf at 8", "sdf", "8", 8.0F, 64.0F},
        {"upper-case type", "SDF", "4", 2.5F, 10.0F},
        {"mirrored scale", "sdf", "4", -2.0F, 8.0F},
        {"small scale keeps one pixel", "sdf", "8", 0.05F, 1.0F},
        {"psdf", "psdf", "6", 1.0F, 6.0F},
        {"multi-channel drawn as it is", "msdf", "4", 1.0F, 0.0F},
        {"unreadable range", "sdf", "wide", 1.0F, 0.0F},
        {"plain", "", "", 1.0F, 0.0F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TypefaceRegistry registry;
        Typeface& typeface = MakeTestTypeface(registry);
        typeface.Content.Properties["DistanceField"] = c.FieldType;
        typeface.Content.Properties["DistanceRange"] = c.Range;
        ASSERT_TRUE(SetScale(registry, Id, c.Scale));
        RecordingSurface surface;
        surface.SetDistanceDecoding(3.0F); // whatever was set before is replaced
        DrawTypefaceText(registry, surface, Id, 10.0F, 10.0F, u"ab");
        ASSERT_EQ(surface.Quads.size(), 2u);
        for (const DrawnQuad& quad : surface.Quads) {
            EXPECT_FLOAT_EQ(quad.ScreenPxRange, c.Expected);
        }
        EXPECT_EQ(surface.DecodingAfterwards(), 0.0F);
    }
}

TEST(ExampleTextDistanceField, AtEightTimesAFieldIsSharpAndAPlainPictureBlocky) {
    // A disc of radius 5 around (8, 8) in a 16 × 16 cell, once as coverage (1 inside, 0 out) and
    // once as a distance field of range 4 (128 at the edge). Drawn at 8×, the plain disc is made
    // of 8-pixel blocks with steps along its rim; the field's rim is a thin antialiased line.
    const auto disc = [](bool field) {
        document::Image image = *document::MakeImage(16, 16, 0);
        for (std::int64_t y = 0; y < 16; ++y) {
            for (std::int64_t x = 0; x < 16; ++x) {
                const double inside = 5.0 - std::hypot(x + 0.5 - 8.0, y + 0.5 - 8.0);
                const double value = field ? std::clamp(128.0 + inside * 128.0 / 2.0, 0.0, 255.0)
                                           : (inside > 0.0 ? 255.0 : 0.0);
                image.At(x, y) = document::WhiteWithAlpha(static_cast<std::uint32_t>(value));
            }
        }
        return image;
    };
    // Pixels drawn on the wrong side of the true rim, a circle of radius 40 around (64, 64).
    const auto wrongPixels = [&](bool field) {
        TypefaceRegistry registry;
        Typeface& typeface = *document::CreateTypeface(registry, Id);
        document::SetCharacterSetImage(typeface, disc(field));
        Character& glyph = document::AddCharacter(typeface, u'o');
        glyph.Source = {0, 0, 16, 16};
        glyph.Outlay = {0, 0, 16, 16};
        if (field) {
            typeface.Content.Properties["DistanceField"] = "sdf";
            typeface.Content.Properties["DistanceRange"] = "4";
        }
        EXPECT_TRUE(SetScale(registry, Id, 8.0F));
        SoftwareQuadSurface surface(128, 128);
        DrawTypefaceText(registry, surface, Id, 0.0F, 0.0F, u"o");
        std::int64_t wrong = 0;
        for (std::int64_t y = 0; y < 128; ++y) {
            for (std::int64_t x = 0; x < 128; ++x) {
                const bool inside = std::hypot(x + 0.5 - 64.0, y + 0.5 - 64.0) < 40.0;
                wrong += (document::Red(surface.Target.At(x, y)) >= 128) != inside;
            }
        }
        return wrong;
    };
    const std::int64_t plain = wrongPixels(false);
    const std::int64_t field = wrongPixels(true);
    // The plain disc's 8-pixel stairs put hundreds of pixels on the wrong side; the decoded
    // field misses only where the rim passes within a fraction of a pixel of a centre.
    EXPECT_GT(plain, 300) << "plain " << plain;
    EXPECT_LT(field, 40) << "field " << field;
}

} // namespace
} // namespace glyfora::views
