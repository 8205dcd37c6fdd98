#include "document/PictureEffects.h"
#include "document/Pixel.h"

#include <gtest/gtest.h>

namespace glyfora::document {
namespace {

TEST(PictureEffects, OutlineWidthRoundsHalvesAwayFromZero) {
    const struct {
        const char* Text;
        std::optional<std::int64_t> Width;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"2", 2},
        {"1.5", 2},
        {"2.5", 3},
        {"0.49", 0},
        {"32", 32},
        {"-1.5", -2},
        {"wide", std::nullopt},
        {"2px", std::nullopt},
        {"1e12", std::nullopt},
        {"nan", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(RoundedOutlineWidth({{"Outline", c.Text}}), c.Width);
    }
    EXPECT_EQ(RoundedOutlineWidth({}), 0);
}

TEST(PictureEffects, DistanceFieldNeedsATypeAndAWholeRange) {
    const struct {
        const char* Type;
        const char* Range;
        std::optional<DistanceField> Field;
    } cases[] = {
        {"sdf", "8", DistanceField{"sdf", 8}},
        {"msdf", "4", DistanceField{"msdf", 4}},
        {"sdf", "65535", DistanceField{"sdf", 65535}},
        {"sdf", "0", std::nullopt},
        {"sdf", "65536", std::nullopt},
        {"sdf", "-8", std::nullopt},
        {"sdf", "8.5", std::nullopt},
        {"sdf", "", std::nullopt},
        {"", "8", std::nullopt},
        {"s d f", "8", std::nullopt},
        {"\"sdf\"", "8", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Type) + " / " + c.Range);
        EXPECT_EQ(DistanceFieldOf({{"DistanceField", c.Type}, {"DistanceRange", c.Range}}),
                  c.Field);
    }
    EXPECT_EQ(DistanceFieldOf({{"DistanceField", "sdf"}}), std::nullopt);
}

TEST(PictureEffects, PictureKindIsWhatTheInkPropertyNames) {
    const struct {
        const char* Name;
        Properties Recorded;
        PictureKind Kind;
    } cases[] = {
        {"nothing", {}, PictureKind::WhiteGlyphs},
        {"an outline from a font file, no ink", {{"Outline", "2"}}, PictureKind::WhiteGlyphs},
        {"empty ink", {{"Ink", ""}}, PictureKind::WhiteGlyphs},
        {"outlined", {{"Ink", "outlined"}, {"Outline", "2"}}, PictureKind::WhiteWithBlackOutline},
        {"distance field", {{"Ink", "sdf"}}, PictureKind::Coloured},
        {"colour", {{"Ink", "colour"}}, PictureKind::Coloured},
        {"unknown ink", {{"Ink", "glitter"}}, PictureKind::Coloured},
        {"letter case matters", {{"Ink", "Outlined"}}, PictureKind::Coloured},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PictureKindOf(c.Recorded), c.Kind);
    }
}

TEST(PictureEffects, AVisibleColourMakesAPictureWithoutInkColoured) {
    const auto picture = [](std::uint32_t pixel) {
        Image image = *MakeImage(3, 2, WhiteWithAlpha(0));
        image.At(1, 1) = pixel;
        return image;
    };
    const struct {
        const char* Name;
        Properties Recorded;
        Image Picture;
        PictureKind Kind;
    } cases[] = {
        {"white glyph", {}, picture(WhiteWithAlpha(90)), PictureKind::WhiteGlyphs},
        {"red under no alpha", {}, picture(0x00FF0000), PictureKind::WhiteGlyphs},
        {"an added red icon", {}, picture(0xFFFF0000), PictureKind::Coloured},
        {"a faint grey pixel", {}, picture(0x01FEFEFE), PictureKind::Coloured},
        {"the ink still rules",
         {{"Ink", "outlined"}},
         picture(0xFFFF0000),
         PictureKind::WhiteWithBlackOutline},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PictureKindOf(c.Recorded, &c.Picture), c.Kind);
    }
}

} // namespace
} // namespace glyfora::document
