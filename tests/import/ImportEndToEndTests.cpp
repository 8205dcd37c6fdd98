#include "import/FontMatching.h"
#include "import/GlyphPacking.h"

#include <ft2build.h>
#include <gtest/gtest.h>
#include FT_FREETYPE_H

namespace glyfora::import {
namespace {

// The codes the installed DejaVu Sans covers, read straight from its character map.
std::vector<std::uint16_t> DejaVuCodes(const platform::GraphicsLibrary& graphics) {
    std::vector<std::uint16_t> codes;
    const auto file = MatchFontFile("DejaVu Sans", 0);
    EXPECT_TRUE(file && file->ExactFamily);
    if (!file) {
        return codes;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(graphics.Library, file->Path.c_str(), file->FaceIndex, &face) != 0) {
        ADD_FAILURE() << "cannot open " << file->Path;
        return codes;
    }
    FT_UInt glyph = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &glyph); glyph != 0;
         code = FT_Get_Next_Char(face, code, &glyph)) {
        if (code < 0x10000) {
            codes.push_back(static_cast<std::uint16_t>(code));
        }
    }
    FT_Done_Face(face);
    return codes;
}

std::uint64_t AlphaIn(const document::Image& image, const document::Rect64& cell) {
    std::uint64_t sum = 0;
    for (std::int64_t y = cell.Y; y < cell.Y + cell.Height; ++y) {
        for (std::int64_t x = cell.X; x < cell.X + cell.Width; ++x) {
            sum += image.At(x, y) >> 24;
        }
    }
    return sum;
}

class DejaVuImport : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }
    platform::GraphicsLibrary graphics;
};

TEST_P(DejaVuImport, BuildsACompleteTypeface) {
    const bool unicode = GetParam();
    FontImportInput input;
    input.Codes = DejaVuCodes(graphics);
    ASSERT_GT(input.Codes.size(), 1000U);
    input.Pairs = {{'A', 'V', -2}, {'T', 'o', -1}, {0x410, 0x411, 1}};
    ImportOptions options;
    options.Family = "DejaVu Sans";
    options.Unicode = unicode;
    options.PaddingLeft = 1;
    options.PaddingBottom = 2;

    document::TypefaceRegistry registry;
    std::int64_t lastDone = -1;
    auto result = CreateTypefaceFromFont(registry, 5, options, input, graphics,
                                         [&](std::int64_t done, std::int64_t total) {
                                             EXPECT_GE(done, lastDone);
                                             EXPECT_LE(done, total);
                                             lastDone = done;
                                             return true;
                                         });
    ASSERT_TRUE(result.Typeface) << result.Error;
    const auto& typeface = *result.Typeface;
    const auto& content = typeface.Content;
    ASSERT_TRUE(content.Image);
    ASSERT_TRUE(content.Sprite);
    ASSERT_TRUE(document::FlippedSprite(content));
    EXPECT_EQ(content.Image->Width, 512);
    EXPECT_EQ(content.Image->Height % 64, 0);
    EXPECT_EQ(content.KerningPairs.Size(), unicode ? 3U : 2U);
    EXPECT_EQ(content.Characters.Size() > 256U, unicode);

    std::int64_t lineHeight = -1;
    for (const auto& character : content.Characters) {
        const auto& cell = character.Source;
        EXPECT_GE(cell.X, 0);
        EXPECT_GE(cell.Y, 0);
        EXPECT_LE(cell.X + cell.Width, content.Image->Width) << character.Index;
        EXPECT_LE(cell.Y + cell.Height, content.Image->Height) << character.Index;
        if (lineHeight < 0) {
            lineHeight = character.Outlay.Height;
        }
        EXPECT_EQ(character.Outlay.Height, lineHeight);
        EXPECT_EQ(cell.Height, lineHeight + 2);
        EXPECT_EQ(character.Outlay.X, -1);
        EXPECT_EQ(cell.Width, character.Outlay.Width + 1);
    }
    // 24-pixel DejaVu Sans: line spacing about 1.16 em, ascent about 0.93 em.
    EXPECT_EQ(lineHeight, 28);
    EXPECT_EQ(content.Properties.at("Base"), "23");
    EXPECT_EQ(content.Properties.at("Face"), "DejaVu Sans");
    EXPECT_EQ(content.Properties.at("Size"), "24");

    const auto* letter = document::FindCharacter(typeface, 'A');
    const auto* space = document::FindCharacter(typeface, ' ');
    ASSERT_TRUE(letter && space);
    EXPECT_GT(space->Outlay.Width, 0);
    EXPECT_GT(AlphaIn(*content.Image, letter->Source), 255U * 20U);
    EXPECT_EQ(AlphaIn(*content.Image, space->Source), 0U);
    // White glyphs on transparent white: only alpha carries the shapes.
    for (const std::uint32_t pixel : content.Image->Pixels) {
        ASSERT_EQ(pixel & 0x00FFFFFFU, 0x00FFFFFFU);
    }
}

INSTANTIATE_TEST_SUITE_P(LatinAndUnicode, DejaVuImport, ::testing::Bool());

} // namespace
} // namespace glyfora::import
