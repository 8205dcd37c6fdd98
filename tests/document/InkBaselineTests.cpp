#include "document/InkBaseline.h"

#include <gtest/gtest.h>
#include <vector>

namespace glyfora::document {
namespace {

struct Glyph {
    char Code;
    std::int64_t OutlayY;
    std::int64_t InkRows; // rows of ink from the cell's top
};

// Each glyph gets a 4 × 10 cell of its own, side by side, with ink in its first InkRows rows.
std::unique_ptr<Typeface> MakeGlyphs(const std::vector<Glyph>& glyphs) {
    TypefaceRegistry registry;
    auto typeface = MakeTypeface(registry, 5);
    std::optional<Image> picture = MakeImage(static_cast<std::int64_t>(glyphs.size()) * 4, 10, 0);
    std::int64_t x = 0;
    for (const Glyph& glyph : glyphs) {
        for (std::int64_t y = 0; y < glyph.InkRows; ++y) {
            picture->At(x + 1, y) = 0x80FFFFFF;
        }
        Character& character = AddCharacter(*typeface, static_cast<unsigned char>(glyph.Code));
        character.Source = {x, 0, 4, 10};
        character.Outlay = {0, glyph.OutlayY, 4, 12};
        x += 4;
    }
    SetCharacterSetImage(*typeface, std::move(picture));
    return typeface;
}

TEST(InkBaseline, MostFlatBottomedGlyphsDecide) {
    const struct {
        const char* Name;
        std::vector<Glyph> Glyphs;
        std::optional<std::int64_t> Baseline;
    } cases[] = {
        {"OneGlyph", {{'H', 2, 7}}, 9},
        {"MajorityOverOddOne", {{'H', 2, 7}, {'x', 4, 5}, {'1', 0, 8}, {'2', 0, 6}}, 9},
        {"TieTakesTheLowerBaseline", {{'H', 2, 7}, {'x', 0, 5}}, 9},
        {"RoundAndDescendingGlyphsDoNotVote",
         {{'H', 1, 7}, {'o', 2, 7}, {'g', 0, 10}, {'p', 0, 10}},
         8},
        {"OnlyGlyphsWithoutInk", {{'H', 1, 0}}, std::nullopt},
        {"NoFlatBottomedGlyph", {{'O', 1, 5}, {'A', 1, 5}}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto typeface = MakeGlyphs(c.Glyphs);
        EXPECT_EQ(InkBaseline(*typeface), c.Baseline) << c.Name;
    }
}

TEST(InkBaseline, NoPictureGivesNone) {
    TypefaceRegistry registry;
    auto typeface = MakeTypeface(registry, 5);
    AddCharacter(*typeface, 'H').Source = {0, 0, 4, 4};
    EXPECT_EQ(InkBaseline(*typeface), std::nullopt);
}

} // namespace
} // namespace glyfora::document
