#include "CharacterRecords.h"
#include "document/Pixel.h"
#include "import/CharacterChoice.h"
#include "import/FontMatching.h"
#include "import/GlyphMeasuring.h"
#include "import/ImportRun.h"

#include <ft2build.h>
#include <gtest/gtest.h>
#include FT_FREETYPE_H

namespace glyfora::fontimport {
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

using testsupport::AlphaIn;

class DejaVuImport : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }
    platform::GraphicsLibrary graphics;
};

TEST_P(DejaVuImport, BuildsACompleteTypeface) {
    const bool unicode = GetParam();
    const std::vector<std::uint16_t> codes = DejaVuCodes(graphics);
    ASSERT_GT(codes.size(), 1000U);
    FontImportInput input;
    input.Codes = ChooseCharacters(
                      std::nullopt, unicode,
                      {"DejaVu Sans", CharacterRangesFromCodes({codes.begin(), codes.end()})}, {})
                      .Codes;
    input.Pairs = ChooseKerningPairs({{'A', 'V', -2}, {'T', 'o', -1}, {0x410, 0x411, 1}}, unicode);
    ImportOptions options;
    options.Family = "DejaVu Sans";
    options.Unicode = unicode;
    options.PaddingLeft = 1;
    options.PaddingBottom = 2;

    document::TypefaceRegistry registry;
    std::int64_t lastDone = -1;
    FontFiles files;
    auto result = ImportFromInput(registry, 5, options, input, graphics, files,
                                  [&](std::int64_t done, std::int64_t total) {
                                      EXPECT_GE(done, lastDone);
                                      EXPECT_LE(done, total);
                                      lastDone = done;
                                      return true;
                                  });
    ASSERT_TRUE(result.Typeface) << result.Reason;
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

// The pixels inside a cell less its side paddings, where no neighbour's overhang reaches.
std::vector<std::uint32_t> InnerCell(const document::Image& image,
                                     const document::Character& character, std::int64_t padding) {
    std::vector<std::uint32_t> pixels;
    const auto& cell = character.Source;
    for (std::int64_t y = cell.Y; y < cell.Y + cell.Height; ++y) {
        for (std::int64_t x = cell.X + padding; x < cell.X + cell.Width - padding; ++x) {
            pixels.push_back(image.At(x, y));
        }
    }
    return pixels;
}

std::unique_ptr<document::Typeface> Import(const platform::GraphicsLibrary& graphics,
                                           const ImportOptions& options) {
    document::TypefaceRegistry registry;
    auto result = RunImport(graphics, registry, 5, options);
    EXPECT_TRUE(result.Typeface) << result.Reason;
    return std::move(result.Typeface);
}

// The rounded advance of code in the first fallback, measured on its own.
std::int64_t FallbackAdvance(const platform::GraphicsLibrary& graphics, ImportOptions options,
                             char16_t code) {
    auto scratch = document::MakeImage(8, 8, 0);
    TextDrawingContext context(graphics);
    EXPECT_TRUE(BeginTextDrawing(context, *scratch));
    options.Family = options.Fallbacks.at(0);
    ApplyImportOptions(context, options);
    const double width = MeasureTextWidth(context, {&code, 1});
    EndTextDrawing(context);
    return RoundHalfAwayFromZero(width);
}

class ListedImport : public ::testing::TestWithParam<TextHint> {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }
    platform::GraphicsLibrary graphics;
};

// A character of the main font looks the same whether a list and fallbacks chose it or not.
TEST_P(ListedImport, MainFontCharactersKeepTheirPixelsAndMetrics) {
    constexpr std::int64_t Padding = 4;
    ImportOptions options;
    options.Family = "DejaVu Sans";
    options.TextAntialiasMode = GetParam();
    options.PaddingLeft = Padding;
    options.PaddingRight = Padding;
    const auto plain = Import(graphics, options);
    options.Characters = "U+4E00-U+4E2D, 0x41-0x5A, 233, 0x3042";
    options.Fallbacks = {"WenQuanYi Zen Hei"};
    const auto listed = Import(graphics, options);
    ASSERT_TRUE(plain && listed);
    EXPECT_EQ(listed->Content.Characters.Size(), 46U + 26U + 1U + 1U);
    EXPECT_EQ(listed->Content.Properties.at("Face"), "DejaVu Sans");
    EXPECT_EQ(listed->Content.Properties.at("Fallbacks"), "WenQuanYi Zen Hei");
    EXPECT_EQ(listed->Content.Properties.at("Base"), plain->Content.Properties.at("Base"));
    EXPECT_EQ(plain->Content.Properties.count("Fallbacks"), 0U);
    std::size_t compared = 0;
    for (const document::Character& character : listed->Content.Characters) {
        const document::Character* same = document::FindCharacter(*plain, character.Index);
        if (same == nullptr) {
            // Drawn by the fallback: its own advance, the main font's line height.
            EXPECT_GE(character.Index, 0x3042);
            EXPECT_EQ(character.Outlay.Width,
                      FallbackAdvance(graphics, options, static_cast<char16_t>(character.Index)))
                << character.Index;
            EXPECT_EQ(character.Outlay.Height, listed->Content.Characters.begin()->Outlay.Height);
            continue;
        }
        ++compared;
        EXPECT_EQ(character.Outlay, same->Outlay) << character.Index;
        EXPECT_EQ(character.Source.Width, same->Source.Width) << character.Index;
        EXPECT_EQ(character.Source.Height, same->Source.Height) << character.Index;
        EXPECT_EQ(InnerCell(*listed->Content.Image, character, Padding),
                  InnerCell(*plain->Content.Image, *same, Padding))
            << character.Index;
    }
    EXPECT_EQ(compared, 27U);
}

INSTANTIATE_TEST_SUITE_P(Hints, ListedImport,
                         ::testing::Values(TextHint::SingleBitPerPixelGridFit,
                                           TextHint::AntiAliasGridFit, TextHint::AntiAlias));

// The lowest row of a cell with ink, counted from the cell's top.
std::int64_t LowestInk(const document::Typeface& typeface, std::int64_t code) {
    const document::Character* character = document::FindCharacter(typeface, code);
    EXPECT_NE(character, nullptr) << code;
    std::int64_t lowest = -1;
    const auto& cell = character->Source;
    for (std::int64_t y = cell.Y; y < cell.Y + cell.Height; ++y) {
        for (std::int64_t x = cell.X; x < cell.X + cell.Width; ++x) {
            if (document::Alpha(typeface.Content.Image->At(x, y)) > 128) {
                lowest = y - cell.Y;
            }
        }
    }
    return lowest;
}

// The fallback's glyphs stand on the main font's baseline: C059's line box is 4.5 pixels taller
// above the baseline than DejaVu Sans's at 24 pixels, and DejaVu's turned E still rests where
// C059's E does.
TEST_F(ListedImport, FallbackGlyphsStandOnTheMainBaseline) {
    ImportOptions options;
    options.Family = "C059";
    options.Characters = "U+0045, U+018E"; // E and turned E, both flat on the baseline
    options.Fallbacks = {"DejaVu Sans"};
    const auto typeface = Import(graphics, options);
    ASSERT_TRUE(typeface);
    EXPECT_EQ(typeface->Content.Properties.at("Fallbacks"), "DejaVu Sans");
    const std::int64_t base = std::stoll(typeface->Content.Properties.at("Base"));
    EXPECT_EQ(LowestInk(*typeface, 'E'), base - 1);
    EXPECT_EQ(LowestInk(*typeface, 0x18E), base - 1);
}

TEST(ImportRunTest, TellsHowTheImportEndedWithItsWarningsAndAdvice) {
    platform::GraphicsLibrary graphics;
    ASSERT_TRUE(platform::InitGraphicsLibrary(graphics));
    struct Case {
        const char* Name;
        void (*Adjust)(ImportOptions&);
        ImportEnd End;
        std::size_t Warnings;
        bool Advice;
    };
    const Case cases[] = {
        {"listed", [](ImportOptions& o) { o.Characters = "65-70, 0x1F600"; }, ImportEnd::Created, 1,
         false},
        {"none covered", [](ImportOptions& o) { o.Characters = "0x4E00"; }, ImportEnd::Failed, 1,
         false},
        {"unreadable list", [](ImportOptions& o) { o.Characters = "65, x"; }, ImportEnd::Failed, 0,
         false},
        {"substitute", [](ImportOptions& o) { o.Family = "No Such Family For Glyfora"; },
         ImportEnd::Created, 1, false},
        // Every cell in a row of its own: far more rows than a .tf file's positions reach.
        {"too deep",
         [](ImportOptions& o) {
             o.Size = 8;
             o.Unicode = true;
             o.MaxWidth = 1;
         },
         ImportEnd::Created, 0, true},
    };
    for (const Case& c : cases) {
        ImportOptions options;
        options.Family = "DejaVu Sans";
        c.Adjust(options);
        document::TypefaceRegistry registry;
        const ImportOutcome outcome = RunImport(graphics, registry, 5, options);
        EXPECT_EQ(outcome.End, c.End) << c.Name << ": " << outcome.Reason;
        EXPECT_EQ(outcome.Typeface != nullptr, c.End == ImportEnd::Created) << c.Name;
        EXPECT_EQ(outcome.Reason.empty(), c.End == ImportEnd::Created) << c.Name;
        EXPECT_EQ(outcome.Warnings.size(), c.Warnings) << c.Name;
        ASSERT_EQ(outcome.Advice.has_value(), c.Advice) << c.Name;
        if (c.Advice) {
            EXPECT_NE(outcome.Advice->Reason.find("does not fit"), std::string::npos)
                << outcome.Advice->Reason;
            ASSERT_TRUE(outcome.Advice->FittingWidth);
            EXPECT_GT(*outcome.Advice->FittingWidth, 1);
        }
    }
}

} // namespace
} // namespace glyfora::fontimport
