#include "CharacterRecords.h"
#include "document/Pixel.h"
#include "document/TypefaceRepacking.h"
#include "import/GlyphEffects.h"
#include "import/ImportRun.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace glyfora::fontimport {
namespace {

constexpr std::int64_t Id = 5;

struct Paddings {
    std::int64_t Left = 0, Top = 0, Right = 0, Bottom = 0, LetterSpace = 0;
};

// Which pixels are the glyph's body: those the fill covers wholly (white over an outline), or
// those with at least half alpha (a coloured fill alone, or a distance field's inside).
enum class Body { OpaqueWhite, HalfAlpha };

class EffectImport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }

    // DejaVu Sans 24, printable ASCII, with paddings around every cell wide enough that no glyph's
    // ink reaches beyond it.
    static ImportOptions Options(CellLayout layout, Paddings extra) {
        ImportOptions options;
        options.Family = "DejaVu Sans";
        options.Characters = "32-126";
        options.Layout = layout;
        options.PaddingLeft = 4 + extra.Left;
        options.PaddingTop = 2 + extra.Top;
        options.PaddingRight = 4 + extra.Right;
        options.PaddingBottom = 2 + extra.Bottom;
        options.LetterSpace = extra.LetterSpace;
        return options;
    }

    std::unique_ptr<document::Typeface> Import(const ImportOptions& options) {
        ImportOutcome outcome = RunImport(graphics, registry, Id, options, {}, 2);
        EXPECT_EQ(outcome.End, ImportEnd::Created) << outcome.Reason;
        return std::move(outcome.Typeface);
    }

    platform::GraphicsLibrary graphics;
    document::TypefaceRegistry registry;
};

// The body's pixels where a reader draws them, relative to the cursor.
std::set<std::pair<std::int64_t, std::int64_t>>
BodyOf(const document::Typeface& typeface, const document::Character& character, Body body) {
    std::set<std::pair<std::int64_t, std::int64_t>> pixels;
    const document::Image& picture = *typeface.Content.Image;
    const document::Rect64& cell = character.Source;
    for (std::int64_t y = cell.Y; y < cell.Y + cell.Height; ++y) {
        for (std::int64_t x = cell.X; x < cell.X + cell.Width; ++x) {
            const std::uint32_t pixel = picture.At(x, y);
            if (body == Body::OpaqueWhite ? pixel == 0xFFFFFFFFU : document::Alpha(pixel) >= 128) {
                pixels.insert({x - cell.X + character.Outlay.X, y - cell.Y + character.Outlay.Y});
            }
        }
    }
    return pixels;
}

// The characters of both typefaces in order: same codes, advances, line heights and bodies.
void ExpectSameMetricsAndBodies(const document::Typeface& effects, const document::Typeface& plain,
                                Body body, const std::string& name, std::size_t atLeast) {
    ASSERT_EQ(effects.Content.Characters.Size(), plain.Content.Characters.Size()) << name;
    auto before = plain.Content.Characters.begin();
    std::size_t bodyPixels = 0;
    for (const document::Character& character : effects.Content.Characters) {
        const std::string where = name + ", code " + std::to_string(character.Index);
        EXPECT_EQ(character.Index, before->Index) << where;
        EXPECT_EQ(character.Outlay.Width, before->Outlay.Width) << where;
        EXPECT_EQ(character.Outlay.Height, before->Outlay.Height) << where;
        const auto pixels = BodyOf(effects, character, body);
        EXPECT_EQ(pixels, BodyOf(plain, *before, body)) << where;
        bodyPixels += pixels.size();
        ++before;
    }
    EXPECT_GT(bodyPixels, atLeast) << name; // the bodies were there to compare
}

TEST_F(EffectImport, MetricsStayAndCellsGrowAroundTheInk) {
    struct Case {
        const char* Name;
        void (*Set)(GlyphEffects&);
        CellLayout Layout;
        Paddings Extra;
        Body Check;
        std::int64_t Left, Top, Right, Bottom; // how much a row cell grows on each side
    };
    const Case cases[] = {
        {"outline 2",
         [](GlyphEffects& e) { e.OutlineWidth = 2.0; },
         CellLayout::Rows,
         {},
         Body::OpaqueWhite,
         2,
         2,
         2,
         2},
        {"sharp outline 1.5, paddings",
         [](GlyphEffects& e) { e.OutlineWidth = 1.5, e.Join = document::OutlineJoin::Sharp; },
         CellLayout::Rows,
         {3, 1, 2, 4, 2},
         Body::OpaqueWhite,
         3,
         3,
         3,
         3},
        {"outline 1 and shadow 3,2 blurred 2",
         [](GlyphEffects& e) {
             e.OutlineWidth = 1.0, e.Shadow = true, e.ShadowX = 3, e.ShadowY = 2,
             e.ShadowBlur = 2.0;
         },
         CellLayout::Rows,
         {},
         Body::OpaqueWhite,
         1,
         2,
         7,
         6},
        {"glow 4, negative letter space",
         [](GlyphEffects& e) { e.Shadow = true, e.ShadowBlur = 4.0, e.ShadowColour = 0xFF00FFFF; },
         CellLayout::Rows,
         {0, 0, 0, 0, -2},
         Body::OpaqueWhite,
         6,
         6,
         6,
         6},
        {"red fill",
         [](GlyphEffects& e) { e.FillColour = 0xFF0000FF; },
         CellLayout::Rows,
         {},
         Body::HalfAlpha,
         0,
         0,
         0,
         0},
        {"distance field 4",
         [](GlyphEffects& e) { e.DistanceField = true; },
         CellLayout::Rows,
         {1, 2, 3, 4},
         Body::HalfAlpha,
         4,
         4,
         4,
         4},
        {"compact outline 2",
         [](GlyphEffects& e) { e.OutlineWidth = 2.0; },
         CellLayout::Compact,
         {1, 1, 1, 1, 1},
         Body::OpaqueWhite,
         0,
         0,
         0,
         0},
        {"compact shadow -3,4 blurred 1",
         [](GlyphEffects& e) {
             e.Shadow = true, e.ShadowX = -3, e.ShadowY = 4, e.ShadowBlur = 1.0;
         },
         CellLayout::Compact,
         {},
         Body::OpaqueWhite,
         0,
         0,
         0,
         0},
        {"compact distance field 6",
         [](GlyphEffects& e) { e.DistanceField = true, e.DistanceSpread = 6; },
         CellLayout::Compact,
         {0, 3, 0, 1},
         Body::HalfAlpha,
         0,
         0,
         0,
         0},
    };
    for (const Case& c : cases) {
        const ImportOptions plainOptions = Options(c.Layout, c.Extra);
        ImportOptions options = plainOptions;
        c.Set(options.Effects);
        const auto plain = Import(plainOptions);
        const auto effects = Import(options);
        ASSERT_TRUE(plain && effects) << c.Name;
        ExpectSameMetricsAndBodies(*effects, *plain, c.Check, c.Name, 3000);
        auto before = plain->Content.Characters.begin();
        for (const document::Character& character : effects->Content.Characters) {
            if (c.Layout == CellLayout::Rows) {
                const std::string where =
                    std::string(c.Name) + ", code " + std::to_string(character.Index);
                EXPECT_EQ(character.Source.Width, before->Source.Width + c.Left + c.Right) << where;
                EXPECT_EQ(character.Source.Height, before->Source.Height + c.Top + c.Bottom)
                    << where;
                EXPECT_EQ(character.Outlay.X, before->Outlay.X - c.Left) << where;
                EXPECT_EQ(character.Outlay.Y, before->Outlay.Y - c.Top) << where;
            }
            ++before;
        }
        ASSERT_EQ(effects->Content.KerningPairs.Size(), plain->Content.KerningPairs.Size());
        auto pair = plain->Content.KerningPairs.begin();
        for (const document::KerningPair& kerning : effects->Content.KerningPairs) {
            EXPECT_EQ(kerning.PairKey, pair->PairKey) << c.Name;
            EXPECT_EQ(kerning.Amount, pair->Amount) << c.Name;
            ++pair;
        }
        EXPECT_EQ(document::PropertyValue(*effects, "Base"),
                  document::PropertyValue(*plain, "Base"))
            << c.Name;
    }
}

TEST_F(EffectImport, FallbackGlyphsKeepTheirPlaceToo) {
    ImportOptions plain = Options(CellLayout::Rows, {});
    plain.Characters = "65-70, 0x4E00-0x4E05";
    plain.Fallbacks = {"WenQuanYi Zen Hei"};
    ImportOptions outlined = plain;
    outlined.Effects.OutlineWidth = 2.0;
    outlined.Effects.Join = document::OutlineJoin::Sharp;
    const auto without = Import(plain);
    const auto with = Import(outlined);
    ASSERT_TRUE(without && with);
    if (document::PropertyValue(*with, "Fallbacks").empty()) {
        GTEST_SKIP() << "WenQuanYi Zen Hei is not installed";
    }
    ExpectSameMetricsAndBodies(*with, *without, Body::OpaqueWhite, "fallback", 500);
    EXPECT_EQ(with->Content.Characters.Size(), 12U);
}

TEST_F(EffectImport, PackingCompactlyAfterwardsKeepsThePlaces) {
    ImportOptions options = Options(CellLayout::Rows, {});
    options.Effects.OutlineWidth = 1.5;
    options.Effects.Shadow = true;
    options.Effects.ShadowX = 2;
    options.Effects.ShadowY = 3;
    options.Effects.ShadowBlur = 1.0;
    const auto rows = Import(options);
    auto packed = Import(options);
    ASSERT_TRUE(rows && packed);
    ASSERT_TRUE(document::PackCompactly(*packed, {}).Ok());
    EXPECT_LT(packed->Content.Image->Height, rows->Content.Image->Height);
    ExpectSameMetricsAndBodies(*packed, *rows, Body::OpaqueWhite, "packed compactly", 3000);
    // Nothing of the effects was cut off: as much ink as before.
    std::uint64_t inkBefore = 0, inkAfter = 0;
    for (const document::Character& character : rows->Content.Characters) {
        inkBefore += testsupport::AlphaIn(*rows->Content.Image, character.Source);
    }
    for (const document::Character& character : packed->Content.Characters) {
        inkAfter += testsupport::AlphaIn(*packed->Content.Image, character.Source);
    }
    EXPECT_EQ(inkAfter, inkBefore);
}

TEST_F(EffectImport, CompactCellsHoldAllTheEffectsInk) {
    ImportOptions options = Options(CellLayout::Compact, {});
    options.PaddingLeft = options.PaddingTop = options.PaddingRight = options.PaddingBottom = 0;
    options.Effects.OutlineWidth = 2.5;
    options.Effects.Shadow = true;
    options.Effects.ShadowX = 4;
    options.Effects.ShadowBlur = 3.0;
    const auto typeface = Import(options);
    ASSERT_TRUE(typeface);
    for (const document::Character& character : typeface->Content.Characters) {
        if (character.Source.Width == 0) {
            continue; // the space
        }
        // The ink box of a cell is the whole cell: the cropping cut nothing that was drawn.
        EXPECT_EQ(document::InkBoxOf(*typeface->Content.Image, character.Source), character.Source)
            << character.Index;
    }
}

TEST_F(EffectImport, PropertiesRecordTheEffects) {
    struct Case {
        const char* Name;
        void (*Set)(GlyphEffects&);
        std::vector<std::pair<const char*, const char*>> Properties;
    };
    const Case cases[] = {
        {"plain", [](GlyphEffects&) {}, {{"Ink", ""}, {"Outline", ""}, {"DistanceField", ""}}},
        {"outline",
         [](GlyphEffects& e) { e.OutlineWidth = 1.5; },
         {{"Ink", "outlined"},
          {"Outline", "1.5"},
          {"OutlineColour", "#000000FF"},
          {"OutlineJoin", "round"},
          {"Fill", "#FFFFFFFF"},
          {"Shadow", ""}}},
        {"shadow and gradient",
         [](GlyphEffects& e) {
             e.Shadow = true, e.ShadowX = -2, e.ShadowY = 3, e.ShadowBlur = 2.5;
             e.Gradient = true, e.GradientTop = 0xFF00FFFF, e.GradientBottom = 0x800000FF;
         },
         {{"Ink", "colour"},
          {"Shadow", "-2,3,2.5"},
          {"ShadowColour", "#00000099"},
          {"Gradient", "#FFFF00FF,#FF000080"},
          {"Fill", ""},
          {"Outline", ""}}},
        {"distance field",
         [](GlyphEffects& e) { e.DistanceField = true, e.DistanceSpread = 5; },
         {{"Ink", "sdf"}, {"DistanceField", "sdf"}, {"DistanceRange", "10"}, {"Fill", ""}}},
    };
    for (const Case& c : cases) {
        ImportOptions options = Options(CellLayout::Rows, {});
        options.Characters = "65-70";
        c.Set(options.Effects);
        const auto typeface = Import(options);
        ASSERT_TRUE(typeface) << c.Name;
        const auto& properties = typeface->Content.Properties;
        for (const auto& [name, value] : c.Properties) {
            // An empty value stands for a property that is not there at all.
            const auto found = properties.find(name);
            EXPECT_EQ(found == properties.end() ? "" : found->second, value)
                << c.Name << ": " << name;
            EXPECT_EQ(found != properties.end(), *value != '\0') << c.Name << ": " << name;
        }
    }
}

TEST_F(EffectImport, DistanceFieldWithEffectsIsRefused) {
    ImportOptions options = Options(CellLayout::Rows, {});
    options.Effects.DistanceField = true;
    options.Effects.OutlineWidth = 1.0;
    const ImportOutcome outcome = RunImport(graphics, registry, Id, options, {}, 1);
    EXPECT_EQ(outcome.End, ImportEnd::Failed);
    EXPECT_NE(outcome.Reason.find("distance field"), std::string::npos) << outcome.Reason;
    EXPECT_FALSE(outcome.Typeface);
}

} // namespace
} // namespace glyfora::fontimport
