#include "document/Pixel.h"
#include "import/FontMatching.h"
#include "import/GlyphSource.h"
#include "import/ImportOptions.h"
#include "import/ImportPreview.h"
#include "import/TextDrawingContext.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace glyfora::fontimport {
namespace {

constexpr const char* TestFamily = "DejaVu Sans";

class TextDrawing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }

    // A 64 × 64 transparent-white image with text drawn on it under the given settings.
    document::Image Draw(int hint, int quality, int pixelOffset, float x, float y,
                         std::u16string_view text = u"W", std::int64_t style = 0,
                         const char* family = TestFamily, float size = 24.0F) {
        auto image = document::MakeImage(64, 64, 0x00FFFFFF);
        TextDrawingContext context(graphics);
        EXPECT_TRUE(BeginTextDrawing(context, *image));
        SetDrawingFont(context, family, size, style);
        SetTextHint(context, hint);
        if (quality != QualityGammaCorrected) {
            SetDrawingQuality(context, quality);
        }
        SetPixelOffset(context, pixelOffset);
        DrawTextAt(context, x, y, text, 0xFFFFFFFF);
        EndTextDrawing(context);
        return *image;
    }

    platform::GraphicsLibrary graphics;
};

std::set<std::uint32_t> Alphas(const document::Image& image) {
    std::set<std::uint32_t> alphas;
    for (const std::uint32_t pixel : image.Pixels) {
        alphas.insert(document::Alpha(pixel));
    }
    return alphas;
}

std::uint64_t AlphaSum(const document::Image& image) {
    std::uint64_t sum = 0;
    for (const std::uint32_t pixel : image.Pixels) {
        sum += document::Alpha(pixel);
    }
    return sum;
}

// Alpha-weighted centre of the drawing.
std::pair<double, double> Centroid(const document::Image& image) {
    double sum = 0.0, sx = 0.0, sy = 0.0;
    for (std::int64_t y = 0; y < image.Height; ++y) {
        for (std::int64_t x = 0; x < image.Width; ++x) {
            const double alpha = static_cast<double>(document::Alpha(image.At(x, y)));
            sum += alpha;
            sx += alpha * static_cast<double>(x);
            sy += alpha * static_cast<double>(y);
        }
    }
    return {sx / sum, sy / sum};
}

// How far right the ink of the top half lies of that of the bottom half.
double Lean(const document::Image& image) {
    const auto [cx, cy] = Centroid(image);
    double upper = 0.0, upperSum = 0.0, lower = 0.0, lowerSum = 0.0;
    for (std::int64_t y = 0; y < image.Height; ++y) {
        for (std::int64_t x = 0; x < image.Width; ++x) {
            const double alpha = static_cast<double>(document::Alpha(image.At(x, y)));
            (static_cast<double>(y) < cy ? upper : lower) += alpha * static_cast<double>(x);
            (static_cast<double>(y) < cy ? upperSum : lowerSum) += alpha;
        }
    }
    return upper / upperSum - lower / lowerSum;
}

TEST_F(TextDrawing, NothingHappensWithoutARasteriserOrWhileClosed) {
    platform::GraphicsLibrary notStarted;
    auto image = document::MakeImage(16, 16, 0x12345678);
    TextDrawingContext idle(notStarted);
    EXPECT_FALSE(BeginTextDrawing(idle, *image));
    SetDrawingFont(idle, TestFamily, 24.0F, 0);
    EXPECT_EQ(MeasureTextWidth(idle, u"A"), 0.0F);

    TextDrawingContext closed(graphics);
    SetDrawingFont(closed, TestFamily, 24.0F, 0); // allowed while closed
    EXPECT_EQ(MeasureTextWidth(closed, u"A"), 0.0F);
    EXPECT_EQ(MeasureTextHeight(closed, u"A"), 0.0F);
    ClearDrawing(closed, 0);
    DrawTextAt(closed, 0, 0, u"A", 0xFFFFFFFF);
    EXPECT_EQ(Alphas(*image), std::set<std::uint32_t>{0x12});

    ASSERT_TRUE(BeginTextDrawing(closed, *image));
    EndTextDrawing(closed);
    EXPECT_EQ(MeasureTextWidth(closed, u"A"), 0.0F);
}

TEST_F(TextDrawing, FreshContextHasTheTwelvePixelDefaultFont) {
    auto image = document::MakeImage(8, 8);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    EXPECT_EQ(context.TextHint, HintAntiAlias);
    EXPECT_EQ(context.CompositingQuality, QualityGammaCorrected);
    EXPECT_EQ(context.PixelOffsetMode, PixelOffsetNone);
    EXPECT_EQ(context.Colour, 0xFFFFFFFFU);
    const float defaultHeight = MeasureTextHeight(context, u"x");
    EXPECT_GT(defaultHeight, 0.0F);

    // A font that cannot be made keeps the one in force.
    SetDrawingFont(context, "Arial", 0.0F, 0);
    EXPECT_EQ(MeasureTextHeight(context, u"x"), defaultHeight);
    SetDrawingFont(context, "Arial", -3.0F, 0);
    SetDrawingFont(context, "Arial", std::nanf(""), 0);
    SetDrawingFont(context, "Arial", 1.0e6F, 0);
    EXPECT_EQ(MeasureTextHeight(context, u"x"), defaultHeight);

    SetDrawingFont(context, "Arial", 24.0F, 0);
    EXPECT_NEAR(MeasureTextHeight(context, u"x"), 2.0F * defaultHeight, 1e-3F);
    SetDrawingFont(context, "Arial", 0.0F, 0);
    EXPECT_NEAR(MeasureTextHeight(context, u"x"), 2.0F * defaultHeight, 1e-3F);

    // Reopening starts from the defaults again.
    EndTextDrawing(context);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    EXPECT_EQ(MeasureTextHeight(context, u"x"), defaultHeight);
}

TEST_F(TextDrawing, UnknownFamilyFallsBackToSansSerif) {
    auto image = document::MakeImage(8, 8);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    SetDrawingFont(context, "sans-serif", 20.0F, 0);
    const std::string sans = DrawingFontFamily(context);
    const float sansWidth = MeasureTextWidth(context, u"Hamburg");
    ASSERT_FALSE(sans.empty());
    for (const char* family : {"No Such Family Glyfora", ""}) {
        SetDrawingFont(context, TestFamily, 30.0F, 0);
        SetDrawingFont(context, family, 20.0F, 0);
        EXPECT_EQ(DrawingFontFamily(context), sans) << family;
        EXPECT_EQ(MeasureTextWidth(context, u"Hamburg"), sansWidth) << family;
    }
}

TEST_F(TextDrawing, WidthIsTheSumOfAdvancesWithSpacesAndNoKerning) {
    auto image = document::MakeImage(8, 8);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    SetDrawingFont(context, TestFamily, 24.0F, 0);
    for (const int hint : {HintAntiAlias, HintAntiAliasGridFit, HintSingleBitPerPixel}) {
        SetTextHint(context, hint);
        const float space = MeasureTextWidth(context, u" ");
        EXPECT_GT(space, 0.0F);
        EXPECT_FLOAT_EQ(MeasureTextWidth(context, u"A  "),
                        MeasureTextWidth(context, u"A") + 2 * space);
        EXPECT_FLOAT_EQ(MeasureTextWidth(context, u"AV"),
                        MeasureTextWidth(context, u"A") + MeasureTextWidth(context, u"V"));
        EXPECT_EQ(MeasureTextWidth(context, u""), 0.0F);
        EXPECT_EQ(MeasureTextHeight(context, u"A"), MeasureTextHeight(context, u"gÅ|"));
    }
}

TEST_F(TextDrawing, GridFittingHintsMeasureWholePixels) {
    auto image = document::MakeImage(8, 8);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    SetDrawingFont(context, TestFamily, 23.0F, 0);
    bool fractional = false;
    for (char16_t c = u'a'; c <= u'z'; ++c) {
        const char16_t text[1] = {c};
        SetTextHint(context, HintAntiAlias);
        const float unhinted = MeasureTextWidth(context, {text, 1});
        fractional = fractional || unhinted != std::round(unhinted);
        for (const int hint : {HintAntiAliasGridFit, HintSingleBitPerPixelGridFit,
                               HintClearTypeGridFit, HintSystemDefault}) {
            SetTextHint(context, hint);
            const float hinted = MeasureTextWidth(context, {text, 1});
            EXPECT_EQ(hinted, std::round(hinted)) << static_cast<char>(c) << " hint " << hint;
            EXPECT_NEAR(hinted, unhinted, 1.5F);
        }
    }
    EXPECT_TRUE(fractional);
    // Synthetic emboldening keeps hinted advances whole.
    SetDrawingFont(context, "DejaVu Math TeX Gyre", 23.0F, 0x100);
    SetTextHint(context, HintAntiAliasGridFit);
    const float bold = MeasureTextWidth(context, u"abc");
    EXPECT_EQ(bold, std::round(bold));
}

TEST_F(TextDrawing, ClearFillsWithTheColourInTheProgramsByteOrder) {
    auto image = document::MakeImage(3, 2, 0x12345678);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    ClearDrawing(context, 0x00FFFFFF);
    EXPECT_EQ(Alphas(*image), std::set<std::uint32_t>{0});
    for (const std::uint32_t pixel : image->Pixels) {
        EXPECT_EQ(pixel, 0x00FFFFFFU);
    }
    ClearDrawing(context, 0xFF0000FF); // opaque red
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(image->Pixels.data());
    EXPECT_EQ(bytes[0], 255); // R
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0); // B
    EXPECT_EQ(bytes[3], 255);
}

TEST_F(TextDrawing, NoBrushColourDrawsInTheContextColour) {
    auto image = document::MakeImage(64, 64, 0x00000000);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    SetDrawingFont(context, TestFamily, 40.0F, 0);
    SetTextHint(context, HintSingleBitPerPixelGridFit);
    SetDrawingColour(context, 0xFF20C040);
    DrawTextAt(context, 4, 4, u"I", NoBrushColour);
    std::set<std::uint32_t> colours(image->Pixels.begin(), image->Pixels.end());
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0x00000000, 0xFF20C040}));
}

TEST_F(TextDrawing, HalfTransparentColourBlendsOverAnOpaqueBackground) {
    auto image = document::MakeImage(64, 64, 0xFF000000);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    SetDrawingFont(context, TestFamily, 40.0F, 0);
    SetTextHint(context, HintSingleBitPerPixelGridFit);
    DrawTextAt(context, 4, 4, u"I", 0x80FFFFFF);
    std::set<std::uint32_t> colours(image->Pixels.begin(), image->Pixels.end());
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0xFF000000, 0xFF808080}));
}

// Every hint's documented coverage: monochrome hints leave only 0 and 255, the others
// intermediate values; grid fitting changes the pixels.
TEST_F(TextDrawing, EachHintProducesItsCoverage) {
    struct Case {
        int Hint;
        bool Monochrome;
    };
    const Case cases[] = {{HintSystemDefault, false},    {HintSingleBitPerPixelGridFit, true},
                          {HintSingleBitPerPixel, true}, {HintAntiAliasGridFit, false},
                          {HintAntiAlias, false},        {HintClearTypeGridFit, false}};
    for (const Case& c : cases) {
        const auto alphas = Alphas(Draw(c.Hint, QualityDefault, PixelOffsetHalf, 10.3F, 5.0F));
        EXPECT_TRUE(alphas.count(255) != 0 || !c.Monochrome) << c.Hint;
        const bool onlyHard = std::all_of(alphas.begin(), alphas.end(),
                                          [](std::uint32_t a) { return a == 0 || a == 255; });
        EXPECT_EQ(onlyHard, c.Monochrome) << "hint " << c.Hint;
        EXPECT_GT(alphas.size(), 1U) << "hint " << c.Hint;
    }
    const auto image = [&](int hint) {
        return Draw(hint, QualityDefault, PixelOffsetHalf, 10.3F, 5.0F, u"Wag").Pixels;
    };
    EXPECT_NE(image(HintSingleBitPerPixelGridFit), image(HintSingleBitPerPixel));
    EXPECT_NE(image(HintAntiAliasGridFit), image(HintAntiAlias));
    EXPECT_NE(image(HintClearTypeGridFit), image(HintAntiAliasGridFit));
    EXPECT_EQ(image(HintSystemDefault), image(HintAntiAliasGridFit));
}

TEST_F(TextDrawing, GridFittingSnapsTheOriginWhileUnhintedTextMovesByFractions) {
    for (const int hint : {HintAntiAliasGridFit, HintSingleBitPerPixelGridFit}) {
        EXPECT_EQ(Draw(hint, QualityDefault, PixelOffsetNone, 10.0F, 4.0F).Pixels,
                  Draw(hint, QualityDefault, PixelOffsetNone, 10.3F, 4.2F).Pixels);
    }
    const auto [x0, y0] =
        Centroid(Draw(HintAntiAlias, QualityDefault, PixelOffsetNone, 10.0F, 4.0F));
    const auto [x1, y1] =
        Centroid(Draw(HintAntiAlias, QualityDefault, PixelOffsetNone, 10.25F, 4.5F));
    EXPECT_NEAR(x1 - x0, 0.25, 0.05);
    EXPECT_NEAR(y1 - y0, 0.5, 0.05);
}

TEST_F(TextDrawing, HalfPixelOffsetShiftsHalfAPixelUpAndLeft) {
    const auto none = Draw(HintAntiAlias, QualityDefault, PixelOffsetNone, 10.0F, 4.0F);
    const auto half = Draw(HintAntiAlias, QualityDefault, PixelOffsetHalf, 10.0F, 4.0F);
    EXPECT_NE(none.Pixels, half.Pixels);
    const auto [xn, yn] = Centroid(none);
    const auto [xh, yh] = Centroid(half);
    EXPECT_NEAR(xn - xh, 0.5, 0.05);
    EXPECT_NEAR(yn - yh, 0.5, 0.05);
}

TEST_F(TextDrawing, EachQualityTurnsCoverageIntoAlphaByItsRule) {
    const auto draw = [&](int quality) {
        return Draw(HintAntiAlias, quality, PixelOffsetNone, 10.3F, 4.0F, u"Wag");
    };
    const auto linear = draw(QualityDefault);
    const auto fast = draw(QualityHighSpeed);
    const auto gamma = draw(QualityGammaCorrected);
    EXPECT_EQ(draw(QualityAssumeLinear).Pixels, linear.Pixels);
    EXPECT_EQ(draw(QualityHighQuality).Pixels, gamma.Pixels);

    bool someBrighter = false;
    for (std::size_t i = 0; i < linear.Pixels.size(); ++i) {
        const double coverage = static_cast<double>(document::Alpha(linear.Pixels[i])) / 255.0;
        const auto fastAlpha = static_cast<double>(document::Alpha(fast.Pixels[i]));
        const auto gammaAlpha = static_cast<double>(document::Alpha(gamma.Pixels[i]));
        // 4-bit alpha: the nearest of 17 levels.
        EXPECT_NEAR(fastAlpha, std::min(255.0, std::round(coverage * 16.0) * 16.0), 0.5 + 1.0);
        EXPECT_NEAR(gammaAlpha, 255.0 * std::pow(coverage, 1.0 / 2.2), 1.5);
        someBrighter =
            someBrighter || gammaAlpha > static_cast<double>(document::Alpha(linear.Pixels[i]));
    }
    EXPECT_TRUE(someBrighter);
    EXPECT_LE(Alphas(fast).size(), 17U);
    EXPECT_GT(Alphas(linear).size(), 17U);
}

TEST_F(TextDrawing, RefusedQualitiesAndHintsKeepTheSettingInForce) {
    auto image = document::MakeImage(8, 8);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    SetDrawingQuality(context, QualityInvalid);
    EXPECT_EQ(context.CompositingQuality, QualityGammaCorrected);
    SetDrawingQuality(context, QualityHighSpeed);
    SetDrawingQuality(context, 5);
    EXPECT_EQ(context.CompositingQuality, QualityHighSpeed);
    SetTextHint(context, 6);
    SetTextHint(context, -1);
    EXPECT_EQ(context.TextHint, HintAntiAlias);
    SetPixelOffset(context, 5);
    EXPECT_EQ(context.PixelOffsetMode, PixelOffsetNone);
}

TEST_F(TextDrawing, StylesUseRealFacesOrSyntheticOnesAndDrawLines) {
    const auto sum = [&](std::int64_t style, const char* family, std::u16string_view text) {
        return AlphaSum(
            Draw(HintAntiAlias, QualityDefault, PixelOffsetNone, 4.0F, 4.0F, text, style, family));
    };
    // DejaVu Sans has a bold face; the math family has none, so it is emboldened.
    for (const char* family : {TestFamily, "DejaVu Math TeX Gyre"}) {
        EXPECT_GT(sum(0x100, family, u"Il"), sum(0, family, u"Il") * 11 / 10) << family;
        const auto upright =
            Draw(HintAntiAlias, QualityDefault, PixelOffsetNone, 4, 4, u"I", 0, family);
        const auto italic =
            Draw(HintAntiAlias, QualityDefault, PixelOffsetNone, 4, 4, u"I", 0x200, family);
        EXPECT_GT(Lean(italic), Lean(upright) + 1.0) << family;
    }
    // Spaces alone show nothing but their underline and strike-out.
    EXPECT_EQ(sum(0, TestFamily, u"   "), 0U);
    const auto underline =
        Draw(HintAntiAliasGridFit, QualityDefault, PixelOffsetNone, 4, 4, u"   ", 4);
    const auto strike =
        Draw(HintAntiAliasGridFit, QualityDefault, PixelOffsetNone, 4, 4, u"   ", 8);
    EXPECT_GT(AlphaSum(underline), 0U);
    EXPECT_GT(AlphaSum(strike), 0U);
    EXPECT_GT(Centroid(underline).second, Centroid(strike).second); // underline lies lower
    EXPECT_EQ(sum(-1, TestFamily, u"   "), 0U);
}

TEST_F(TextDrawing, FarAwayAndClippedPositionsAreSafe) {
    for (const float position : {-1.0e30F, 1.0e30F, -40.0F, 60.0F, std::nanf("")}) {
        const auto image = Draw(HintAntiAlias, QualityDefault, PixelOffsetNone, position, position);
        EXPECT_EQ(image.Pixels.size(), 64U * 64U);
    }
    const auto partly = Draw(HintAntiAlias, QualityDefault, PixelOffsetNone, -8.0F, -10.0F);
    EXPECT_GT(AlphaSum(partly), 0U);
}

TEST_F(TextDrawing, ApplyImportOptionsHandsOverFontAndRendering) {
    auto image = document::MakeImage(8, 8);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    ImportOptions options;
    options.Family = TestFamily;
    options.Size = 36;
    options.HalfPixel = true;
    options.TextAntialiasMode = TextHint::SingleBitPerPixel;
    options.CompositingQuality = DrawingQuality::HighSpeed;
    ApplyImportOptions(context, options);
    EXPECT_EQ(context.PixelOffsetMode, PixelOffsetHalf);
    EXPECT_EQ(context.TextHint, HintSingleBitPerPixel);
    EXPECT_EQ(context.CompositingQuality, QualityHighSpeed);
    const float height36 = MeasureTextHeight(context, u"x");

    options.Size = 18;
    options.HalfPixel = false;
    options.CompositingQuality = DrawingQuality::Invalid;  // refused, the quality stays
    options.TextAntialiasMode = static_cast<TextHint>(17); // no hint: refused too
    ApplyImportOptions(context, options);
    EXPECT_EQ(context.PixelOffsetMode, PixelOffsetNone);
    EXPECT_EQ(context.TextHint, HintSingleBitPerPixel);
    EXPECT_EQ(context.CompositingQuality, QualityHighSpeed);
    EXPECT_NEAR(MeasureTextHeight(context, u"x") * 2.0F, height36, 1e-3F);
}

TEST_F(TextDrawing, GlyphSourceRefusesOptionsWhoseFontCannotBeMade) {
    auto image = document::MakeImage(8, 8);
    ContextGlyphSource source(graphics);
    ImportOptions options;
    options.Family = TestFamily;
    ASSERT_TRUE(source.Begin(*image, options));
    EXPECT_GT(source.MeasureWidth('A'), 0.0);
    source.End();
    options.Size = 0; // the context would keep its 12-pixel default
    EXPECT_FALSE(source.Begin(*image, options));
    EXPECT_EQ(source.MeasureWidth('A'), 0.0);

    TextDrawingContext context(graphics);
    EXPECT_EQ(DrawingFontSize(context), 0.0F);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    EXPECT_EQ(DrawingFontSize(context), 12.0F);
}

TEST_F(TextDrawing, PreviewShowsUpperAndLowerCaseInBlackOnTheBackground) {
    constexpr ColourRGBA ButtonFace = 0x00F0F0F0;
    const auto preview = [&](const ImportOptions& options) {
        auto canvas = document::MakeImage(120, 110, 0x12345678);
        EXPECT_TRUE(DrawImportPreview(graphics, *canvas, options, ButtonFace));
        return *canvas;
    };
    ImportOptions options;
    options.Family = TestFamily;
    const auto plain = preview(options);
    std::int64_t upper = 0, lower = 0;
    for (std::int64_t y = 0; y < plain.Height; ++y) {
        for (std::int64_t x = 0; x < plain.Width; ++x) {
            const std::uint32_t pixel = plain.At(x, y);
            EXPECT_EQ(document::Alpha(pixel), 0xFFU);
            if (pixel == 0xFF000000U) {
                ++(y < 50 ? upper : lower);
            }
        }
    }
    EXPECT_GT(upper, 20);
    EXPECT_GT(lower, 20);
    EXPECT_EQ(plain.At(119, 0), 0xFFF0F0F0U);

    ImportOptions unseen = options; // options the preview does not show
    unseen.Unicode = true;
    unseen.PaddingLeft = 9;
    unseen.LetterSpace = 4;
    unseen.MaxWidth = 0;
    unseen.Center = true;
    EXPECT_EQ(preview(unseen).Pixels, plain.Pixels);
    ImportOptions bigger = options;
    bigger.Size = 30;
    EXPECT_NE(preview(bigger).Pixels, plain.Pixels);

    platform::GraphicsLibrary notStarted;
    auto untouched = document::MakeImage(4, 4, 7);
    EXPECT_FALSE(DrawImportPreview(notStarted, *untouched, options, ButtonFace));
    EXPECT_EQ(untouched->Pixels, std::vector<std::uint32_t>(16, 7));
}

TEST_F(TextDrawing, PreviewShowsTheEffects) {
    constexpr ColourRGBA ButtonFace = 0x00F0F0F0;
    const auto count = [&](const document::GlyphEffects& effects, std::uint32_t colour) {
        ImportOptions options;
        options.Family = TestFamily;
        options.Effects = effects;
        auto canvas = document::MakeImage(120, 110, 0);
        EXPECT_TRUE(DrawImportPreview(graphics, *canvas, options, ButtonFace));
        return std::count(canvas->Pixels.begin(), canvas->Pixels.end(), colour);
    };
    document::GlyphEffects outline;
    outline.OutlineWidth = 2.0;
    document::GlyphEffects red;
    red.FillColour = 0xFF0000FF;
    document::GlyphEffects field;
    field.DistanceField = true;
    struct Case {
        const char* Name;
        document::GlyphEffects Effects;
        std::uint32_t Colour;
        bool Shown;
    };
    const Case cases[] = {
        {"plain: no white glyphs", {}, 0xFFFFFFFF, false},
        {"outline: white fill", outline, 0xFFFFFFFF, true},
        {"outline: black outline", outline, 0xFF000000, true},
        {"red fill", red, 0xFF0000FF, true},
        {"red fill: nothing black", red, 0xFF000000, false},
        {"distance field: no plain black glyphs", field, 0xFF000000, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(count(c.Effects, c.Colour) > 20, c.Shown) << c.Name;
    }
    // The field's values show, lighter than the background where they are high.
    EXPECT_LT(count(field, 0xFFF0F0F0), 120 * 110 - 500);
}

TEST_F(TextDrawing, SharpOutlineMaskKeepsCorners) {
    auto image = document::MakeImage(100, 60, 0);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *image));
    SetDrawingFont(context, TestFamily, 32.0F, 0);
    const double ascent = MeasureTextAscent(context);
    // An "l" of DejaVu Sans is an upright bar: mitred, its outline is the bar 2 pixels larger
    // every way, corners full; rounded, the corners are cut.
    const Coverage bar = RenderTextMask(context, 10.0F, 5.0F, u"l");
    const Coverage grown = RenderOutlinedMaskOnBaseline(context, 10.0F, 5.0F, ascent, 2.0, u"l");
    ASSERT_GT(bar.Width, 0);
    const auto inkBox = [](const Coverage& mask) {
        std::int64_t left = mask.Width, top = mask.Height, right = -1, bottom = -1;
        for (std::int64_t y = 0; y < mask.Height; ++y) {
            for (std::int64_t x = 0; x < mask.Width; ++x) {
                if (mask.Values[static_cast<std::size_t>(y * mask.Width + x)] > 127) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
            }
        }
        return document::Rect64{mask.Left + left, mask.Top + top, right - left + 1,
                                bottom - top + 1};
    };
    const document::Rect64 barBox = inkBox(bar);
    EXPECT_EQ(inkBox(grown),
              (document::Rect64{barBox.X - 2, barBox.Y - 2, barBox.Width + 4, barBox.Height + 4}));
    const std::int64_t cornerX = barBox.X - 2 - grown.Left;
    const std::int64_t cornerY = barBox.Y - 2 - grown.Top;
    EXPECT_GT(grown.Values[static_cast<std::size_t>(cornerY * grown.Width + cornerX)], 200);
    EXPECT_EQ(RenderOutlinedMaskOnBaseline(context, 10.0F, 5.0F, ascent, 0.0, u"l").Width, 0);
    EndTextDrawing(context);
}

TEST_F(TextDrawing, MasksCompositedInOrderDrawAsDrawTextAtDoes) {
    // Overlapping strings on a half-covered picture, some cut by its edges, in two qualities.
    struct Case {
        int Quality;
        std::int64_t Style;
    };
    const Case cases[] = {{QualityGammaCorrected, 0},
                          {QualityHighSpeed, StyleUnderline},
                          {QualityDefault, StyleItalic | StyleBold}};
    const std::pair<float, float> positions[] = {
        {3.25F, 2.5F}, {9.0F, 4.75F}, {-6.5F, 40.0F}, {50.3F, -9.0F}, {20.0F, 20.0F}};
    for (const Case& c : cases) {
        auto direct = document::MakeImage(64, 64, 0x00FFFFFF);
        for (std::size_t i = 0; i < direct->Pixels.size(); i += 3) {
            direct->Pixels[i] = 0x80FFFFFF;
        }
        document::Image split = *direct;
        TextDrawingContext drawing(graphics), rasterising(graphics);
        ASSERT_TRUE(BeginTextDrawing(drawing, *direct));
        ASSERT_TRUE(BeginTextDrawing(rasterising, split));
        for (TextDrawingContext* context : {&drawing, &rasterising}) {
            SetDrawingFont(*context, TestFamily, 22.0F, c.Style);
            SetDrawingQuality(*context, c.Quality);
        }
        std::vector<Coverage> masks;
        for (const auto& [x, y] : positions) {
            DrawTextAt(drawing, x, y, u"Wg", 0xFFFFFFFF);
            masks.push_back(RenderTextMask(rasterising, x, y, u"Wg"));
        }
        for (const Coverage& mask : masks) {
            CompositeTextMask(rasterising, mask, 0xFFFFFFFF);
        }
        EXPECT_EQ(split.Pixels, direct->Pixels) << c.Quality;
        EXPECT_NE(AlphaSum(split), AlphaSum(*document::MakeImage(64, 64, 0x00FFFFFF)));
        EndTextDrawing(drawing);
        EndTextDrawing(rasterising);
    }
}

TEST_F(TextDrawing, AMaskThatNoLongerFitsTheOutputIsIgnored) {
    auto large = document::MakeImage(64, 64, 0x00FFFFFF);
    auto small = document::MakeImage(8, 8, 0x00FFFFFF);
    TextDrawingContext context(graphics);
    ASSERT_TRUE(BeginTextDrawing(context, *large));
    SetDrawingFont(context, TestFamily, 24.0F, 0);
    const Coverage mask = RenderTextMask(context, 20.0F, 20.0F, u"W");
    ASSERT_GT(mask.Width, 0);
    EndTextDrawing(context);
    ASSERT_TRUE(BeginTextDrawing(context, *small));
    CompositeTextMask(context, mask, 0xFFFFFFFF);
    EXPECT_EQ(AlphaSum(*small), 0U);
    EndTextDrawing(context);
    CompositeTextMask(context, mask, 0xFFFFFFFF); // closed: nothing to draw on
}

} // namespace
} // namespace glyfora::fontimport

namespace glyfora::fontimport {
namespace {

// Drawing on a given baseline is drawing the line box that much lower; coverage is asked per code.
TEST_F(TextDrawing, BaselineDrawingMovesTheLineBoxAndCoverageIsPerCode) {
    for (const int hint : {HintSingleBitPerPixelGridFit, HintAntiAliasGridFit, HintAntiAlias}) {
        auto shifted = document::MakeImage(64, 64, 0x00FFFFFF);
        TextDrawingContext context(graphics);
        ASSERT_TRUE(BeginTextDrawing(context, *shifted));
        SetDrawingFont(context, TestFamily, 24.0F, 0);
        SetTextHint(context, hint);
        SetPixelOffset(context, PixelOffsetNone);
        CompositeTextMask(
            context,
            RenderTextMaskOnBaseline(context, 3.0F, 4.0F, MeasureTextAscent(context) + 6.0, u"W"),
            0xFFFFFFFF);
        EXPECT_TRUE(DrawingFontCovers(context, u'W'));
        EXPECT_FALSE(DrawingFontCovers(context, 0x4E2D)); // DejaVu Sans has no ideographs
        EndTextDrawing(context);
        EXPECT_FALSE(DrawingFontCovers(context, u'W')); // fontless once closed
        EXPECT_EQ(shifted->Pixels,
                  Draw(hint, QualityGammaCorrected, PixelOffsetNone, 3.0F, 10.0F).Pixels)
            << hint;
    }
}

} // namespace
} // namespace glyfora::fontimport
