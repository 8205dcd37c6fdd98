#include "FakeGlyphSource.h"
#include "import/CharacterChoice.h"
#include "import/GlyphLayout.h"
#include "import/ImportRun.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace glyfora::fontimport {
namespace {

FontImportInput Codes(std::uint16_t first, std::uint16_t last) {
    FontImportInput input;
    for (std::uint32_t code = first; code <= last; ++code) {
        input.Codes.push_back(static_cast<std::uint16_t>(code));
    }
    return input;
}

// The codes from first to last as the character choice takes them from a font covering them.
FontImportInput Chosen(std::uint16_t first, std::uint16_t last, bool unicode) {
    FontImportInput input;
    input.Codes =
        ChooseCharacters(std::nullopt, unicode, {"Fake Sans", {{first, last - first + 1U}}}, {})
            .Codes;
    return input;
}

ImportOutcome Import(const ImportOptions& options, const FontImportInput& input,
                     FakeGlyphSource& source, const ImportProgress& progress = {}) {
    document::TypefaceRegistry registry;
    GlyphSource* const sources[] = {&source};
    auto result = ImportFromInput(registry, 5, options, input, sources, progress);
    EXPECT_EQ(source.OpenCount, 0);
    return result;
}

std::vector<document::Rect64> Cells(const document::Typeface& typeface) {
    std::vector<document::Rect64> cells;
    for (const auto& character : typeface.Content.Characters) {
        cells.push_back(character.Source);
    }
    return cells;
}

TEST(ImportRounding, HalvesGoAwayFromZero) {
    const std::pair<double, std::int64_t> cases[] = {
        {10.5, 11}, {-10.5, -11}, {10.49, 10}, {-10.49, -10}, {0.5, 1},
        {-0.5, -1}, {0.0, 0},     {2.5, 3},    {-2.5, -3},    {std::nan(""), 0}};
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundHalfAwayFromZero(value), rounded) << value;
    }
}

TEST(ImportRounding, ImageSidesRoundUpToMultiplesOf64) {
    const std::pair<std::int64_t, std::int64_t> cases[] = {
        {0, 0}, {1, 64}, {64, 64}, {128, 128}, {129, 192}, {-1, 0}, {-64, -64}, {-65, -64}};
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundUpTo64(value), rounded) << value;
    }
}

TEST(ImportChoice, UnicodeFilterAppliesToCharactersAndPairs) {
    std::vector<std::uint32_t> covered;
    for (std::uint32_t code = 0x20; code <= 0x7E; ++code) {
        covered.push_back(code);
    }
    for (std::uint32_t code = 0x400; code <= 0x44F; ++code) {
        covered.push_back(code);
    }
    const FontCoverage font{"Fake Sans", CharacterRangesFromCodes(covered)};
    const std::vector<FontKerningPair> pairs = {
        {0x41, 0x56, -2},
        {0x41, 0x410, -1},
        {0x410, 0x41, 3},
        {0x3A9, 0x3A9, 1},
        {0x01, 0x02, 5}}; // the last two name characters the font does not cover

    struct Case {
        bool Unicode;
        std::size_t Characters;
        std::vector<std::int64_t> PairAmounts;
    };
    for (const Case& c : {Case{false, 95, {-2, 5}}, Case{true, 95 + 80, {-2, -1, 3, 1, 5}}}) {
        FontImportInput input;
        input.Codes = ChooseCharacters(std::nullopt, c.Unicode, font, {}).Codes;
        input.Pairs = ChooseKerningPairs(pairs, c.Unicode);
        FakeGlyphSource source;
        auto result = Import(ImportOptions{}, input, source);
        ASSERT_TRUE(result.Typeface) << result.Reason;
        const document::Typeface& typeface = *result.Typeface;
        EXPECT_EQ(typeface.Content.Characters.Size(), c.Characters);
        std::vector<std::int64_t> amounts;
        std::int64_t highest = 0;
        for (const auto& character : typeface.Content.Characters) {
            highest = std::max(highest, character.Index);
            EXPECT_EQ(character.Outlay, (document::Rect64{0, 0, 10, 20}));
        }
        for (const auto& pair : typeface.Content.KerningPairs) {
            amounts.push_back(pair.Amount);
        }
        EXPECT_EQ(amounts, c.PairAmounts);
        EXPECT_EQ(highest > 255, c.Unicode);
        EXPECT_EQ(document::KerningAmount(typeface, document::MakePairKey(0x41, 0x56)), -2);
    }
}

TEST(ImportPacking, CellsWrapWhenTheyWouldPassMaxWidth) {
    struct Case {
        std::int64_t MaxWidth;
        double GlyphWidth;
        std::size_t Count;
        std::vector<std::int64_t> Xs;
        std::vector<std::int64_t> Ys;
        std::int64_t ImageWidth;
        std::int64_t ImageHeight;
    };
    const Case cases[] = {
        // 40 + 40 = 80; the third would end at 120 > 100.
        {100, 40.0, 5, {0, 40, 0, 40, 0}, {0, 0, 20, 20, 40}, 100, 64},
        // A cell that ends exactly at MaxWidth stays in its row.
        {100, 50.0, 3, {0, 50, 0}, {0, 0, 20}, 100, 64},
        // MaxWidth 0: one row, the width rounded up to 64.
        {0, 32.0, 4, {0, 32, 64, 96}, {0, 0, 0, 0}, 128, 64},
        {0, 43.0, 3, {0, 43, 86}, {0, 0, 0}, 192, 64},
        // A cell wider than the image gets a row of its own.
        {30, 40.0, 3, {0, 0, 0}, {0, 20, 40}, 30, 64},
        {512, 10.0, 200, {}, {}, 512, 128}, // 51 cells a row, 4 rows of 20
    };
    for (const Case& c : cases) {
        FakeGlyphSource source;
        source.DefaultWidth = c.GlyphWidth;
        ImportOptions options;
        options.MaxWidth = c.MaxWidth;
        const auto input = Codes(1, static_cast<std::uint16_t>(c.Count));
        auto result = Import(options, input, source);
        ASSERT_TRUE(result.Typeface) << result.Reason;
        const auto& content = result.Typeface->Content;
        ASSERT_TRUE(content.Image);
        EXPECT_EQ(content.Image->Width, c.ImageWidth) << c.MaxWidth;
        EXPECT_EQ(content.Image->Height, c.ImageHeight) << c.MaxWidth;
        std::vector<std::int64_t> xs, ys;
        for (const auto& cell : Cells(*result.Typeface)) {
            xs.push_back(cell.X);
            ys.push_back(cell.Y);
        }
        if (!c.Xs.empty()) {
            EXPECT_EQ(xs, c.Xs) << c.MaxWidth;
            EXPECT_EQ(ys, c.Ys) << c.MaxWidth;
        }
        // The measuring and the drawing pass agree on the rows: nothing lies below the image.
        for (const auto& cell : Cells(*result.Typeface)) {
            EXPECT_LE(cell.Y + cell.Height, content.Image->Height);
        }
    }
}

TEST(ImportLayout, RowsPlaceTheCellsInAPictureOfTheirWidth) {
    struct Case {
        const char* Name;
        std::int64_t MaxWidth;
        std::vector<document::CellSize> Cells;
        std::vector<std::pair<std::int64_t, std::int64_t>> Corners;
        std::int64_t Width, Height;
    };
    const Case cases[] = {
        {"wrapping", 100, {{40, 20}, {40, 20}, {40, 20}}, {{0, 0}, {40, 0}, {0, 20}}, 100, 64},
        {"one row", 0, {{32, 30}, {32, 30}, {1, 30}}, {{0, 0}, {32, 0}, {64, 0}}, 128, 64},
        {"tallest cell", 50, {{30, 10}, {10, 70}, {30, 5}}, {{0, 0}, {30, 0}, {0, 70}}, 50, 128},
        // One row of 10 pixels is 64 wide, and a picture that wide wraps the first two cells.
        {"negative widths",
         0,
         {{100, 10}, {50, 10}, {-140, 10}},
         {{0, 0}, {0, 10}, {50, 10}},
         64,
         64},
        {"no room", 0, {{-5, 10}, {-5, 10}}, {{0, 0}, {-5, 0}}, 0, 64},
    };
    for (const Case& c : cases) {
        const document::PackedCells placed = LayOutRows(c.Cells, c.MaxWidth);
        std::vector<std::pair<std::int64_t, std::int64_t>> corners;
        for (const document::CellCorner corner : placed.Corners) {
            corners.emplace_back(corner.X, corner.Y);
        }
        EXPECT_EQ(corners, c.Corners) << c.Name;
        EXPECT_EQ(placed.Width, c.Width) << c.Name;
        EXPECT_EQ(placed.Height, c.Height) << c.Name;
    }
}

TEST(ImportPacking, RowsAreAsTallAsTheirTallestCellAndTheHeightRoundsTo64) {
    FakeGlyphSource source;
    source.Height = 28.4; // rounds to 28
    source.DefaultWidth = 14.0;
    auto result = Import(ImportOptions{}, Codes(0x20, 0x7E), source);
    ASSERT_TRUE(result.Typeface);
    const auto& content = result.Typeface->Content;
    EXPECT_EQ(content.Characters.Size(), 95U);
    EXPECT_EQ(content.Image->Width, 512);
    // 36 cells of 14 fit in 512: three rows of 28 = 84, rounded to 128.
    EXPECT_EQ(content.Image->Height, 128);
    for (const auto& character : content.Characters) {
        EXPECT_EQ(character.Outlay, (document::Rect64{0, 0, 14, 28}));
        EXPECT_EQ(character.Source.Height, 28);
        EXPECT_EQ(character.Source.Y % 28, 0);
        EXPECT_LE(character.Source.X + character.Source.Width, 512);
    }
}

TEST(ImportMetrics, LetterSpaceAndPaddingsShapeOutlayAndCells) {
    struct Case {
        std::int64_t LetterSpace, Top, Bottom, Left, Right;
    };
    for (const Case& c : {Case{3, 0, 0, 0, 0}, Case{0, 1, 0, 2, 0}, Case{-2, 1, 4, 2, 3},
                          Case{0, -3, -2, -1, -4}}) {
        FakeGlyphSource source;
        source.Widths = {{1, 10.5}, {2, 7.49}, {3, 0.0}};
        source.Height = 19.5;
        ImportOptions options;
        options.LetterSpace = c.LetterSpace;
        options.PaddingTop = c.Top;
        options.PaddingBottom = c.Bottom;
        options.PaddingLeft = c.Left;
        options.PaddingRight = c.Right;
        auto result = Import(options, Codes(1, 3), source);
        ASSERT_TRUE(result.Typeface) << result.Reason;
        const std::int64_t widths[] = {11, 7, 0};
        std::int64_t x = 0;
        std::size_t i = 0;
        for (const auto& character : result.Typeface->Content.Characters) {
            const std::int64_t w = widths[i];
            EXPECT_EQ(character.Outlay, (document::Rect64{-c.Left, -c.Top, w + c.LetterSpace, 20}));
            EXPECT_EQ(character.Source,
                      (document::Rect64{x, 0, w + c.Left + c.Right, 20 + c.Top + c.Bottom}));
            ASSERT_LT(i, source.Draws.size());
            EXPECT_EQ(source.Draws[i].X, static_cast<double>(x + c.Left));
            EXPECT_EQ(source.Draws[i].Y, static_cast<double>(c.Top));
            EXPECT_EQ(source.Draws[i].Colour, 0xFFFFFFFFU);
            x += w + c.Left + c.Right; // edge to edge, letter space not included
            ++i;
        }
        EXPECT_EQ(source.Clears, std::vector<ColourRGBA>{0x00FFFFFF});
    }
}

TEST(ImportMetrics, CenterShiftsByHalfTheRoundingDifference) {
    FakeGlyphSource source;
    source.Widths = {{1, 10.4}, {2, 10.6}, {3, 10.5}};
    ImportOptions options;
    options.Center = true;
    options.PaddingLeft = 2;
    options.LetterSpace = 5;
    auto result = Import(options, Codes(1, 3), source);
    ASSERT_TRUE(result.Typeface);
    ASSERT_EQ(source.Draws.size(), 3U);
    EXPECT_NEAR(source.Draws[0].X, 0 + 2 - 0.2, 1e-9);
    EXPECT_NEAR(source.Draws[1].X, 12 + 2 + 0.2, 1e-9);
    EXPECT_NEAR(source.Draws[2].X, 25 + 2 + 0.25, 1e-9);
}

TEST(ImportOutcomeTest, EmptyOrOversizedImagesStopWithAReason) {
    struct Case {
        const char* Name;
        FontImportInput Input;
        double Width, Height;
        std::int64_t Padding, MaxWidth;
        bool CanBegin;
    };
    const Case cases[] = {
        {"no characters", {}, 10, 20, 0, 512, true},
        {"only codes above 255", Chosen(0x400, 0x410, false), 10, 20, 0, 512, true},
        {"negative paddings", Codes(1, 5), 10, 20, -100, 512, true},
        {"zero width in one row", Codes(1, 5), 0, 20, 0, 0, true},
        {"beyond the image limit", Codes(1, 3000), 1024, 1.0e5, 0, 1024, true},
        {"no rasteriser", Codes(1, 5), 10, 20, 0, 512, false},
        {"size 0", Codes(1, 5), 10, 20, 0, 512, true},
    };
    for (const Case& c : cases) {
        FakeGlyphSource source;
        source.DefaultWidth = c.Width;
        source.Height = c.Height;
        source.CanBegin = c.CanBegin;
        ImportOptions options;
        options.PaddingTop = options.PaddingBottom = c.Padding;
        options.MaxWidth = c.MaxWidth;
        options.Size = std::string(c.Name) == "size 0" ? 0 : 24;
        const auto result = Import(options, c.Input, source);
        EXPECT_FALSE(result.Typeface) << c.Name;
        EXPECT_FALSE(result.Reason.empty()) << c.Name;
        EXPECT_EQ(result.End, ImportEnd::Failed) << c.Name;
        EXPECT_TRUE(source.Draws.empty()) << c.Name;
    }
}

TEST(ImportOutcomeTest, TypefaceHasSpritesPropertiesAndIsUnsaved) {
    FakeGlyphSource source;
    ImportOptions options;
    options.Family = "fake"; // the family matched for it is recorded
    options.Size = 17;
    FontImportInput input = Codes(0x41, 0x43);
    input.Pairs = {{0x41, 0x42, -1}};
    auto result = Import(options, input, source);
    ASSERT_TRUE(result.Typeface);
    auto& typeface = *result.Typeface;
    ASSERT_TRUE(typeface.Content.Sprite);
    ASSERT_TRUE(document::FlippedSprite(typeface.Content));
    EXPECT_EQ(typeface.Content.Sprite->Pixels, typeface.Content.Image->Pixels);
    EXPECT_EQ(document::FlippedSpriteHeight(typeface.Content), typeface.Content.Image->Height);
    EXPECT_EQ(document::PropertyValue(typeface, "Face"), "Fake Sans");
    EXPECT_EQ(document::PropertyValue(typeface, "Size"), "17");
    EXPECT_EQ(document::PropertyValue(typeface, "Base"), "16"); // ascent 15.2, rounded up
    EXPECT_TRUE(typeface.Modified);
    EXPECT_EQ(typeface.Id, 5);
    EXPECT_EQ(document::FindCharacter(typeface, 0x42)->Source.X, 10);
}

TEST(ImportOutcomeTest, RecordsStylePaddingsAndSpacing) {
    struct Case {
        std::int64_t Style;
        std::int64_t Top, Right, Bottom, Left;
        CellLayout Layout;
        std::int64_t Gutter;
        const char *Bold, *Italic, *Padding, *Spacing;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, CellLayout::Rows, 3, "0", "0", "0,0,0,0", "0,0"},
        {0x100, 1, 2, 3, 4, CellLayout::Rows, 1, "1", "0", "1,2,3,4", "0,0"},
        {0x200 | 4, -2, 0, 5, -1, CellLayout::Compact, 2, "0", "1", "-2,0,5,-1", "2,2"},
        {0x300, 2, 2, 2, 2, CellLayout::Compact, 0, "1", "1", "2,2,2,2", "0,0"},
    };
    for (const Case& c : cases) {
        FakeGlyphSource source;
        ImportOptions options;
        options.Style = c.Style;
        options.PaddingTop = c.Top;
        options.PaddingRight = c.Right;
        options.PaddingBottom = c.Bottom;
        options.PaddingLeft = c.Left;
        options.Layout = c.Layout;
        options.Gutter = c.Gutter;
        auto result = Import(options, Codes(0x41, 0x43), source);
        ASSERT_TRUE(result.Typeface) << c.Padding;
        auto& typeface = *result.Typeface;
        EXPECT_EQ(document::PropertyValue(typeface, "Bold"), c.Bold) << c.Style;
        EXPECT_EQ(document::PropertyValue(typeface, "Italic"), c.Italic) << c.Style;
        EXPECT_EQ(document::PropertyValue(typeface, "Padding"), c.Padding);
        EXPECT_EQ(document::PropertyValue(typeface, "Spacing"), c.Spacing) << c.Padding;
    }
}

TEST(ImportProgressTest, ReportsBothPassesAndCanCancel) {
    std::vector<std::pair<std::int64_t, std::int64_t>> reports;
    FakeGlyphSource source;
    auto result =
        Import(ImportOptions{}, Codes(1, 10), source, [&](std::int64_t done, std::int64_t total) {
            reports.emplace_back(done, total);
            return true;
        });
    ASSERT_TRUE(result.Typeface);
    ASSERT_FALSE(reports.empty());
    for (std::size_t i = 1; i < reports.size(); ++i) {
        EXPECT_LE(reports[i - 1].first, reports[i].first);
        EXPECT_EQ(reports[i].second, 20);
    }
    EXPECT_EQ(reports.back().first, 20);

    for (const std::int64_t stopAt : {0, 5, 15}) {
        FakeGlyphSource cancelled;
        const auto stopped = Import(ImportOptions{}, Codes(1, 10), cancelled,
                                    [&](std::int64_t done, std::int64_t) { return done < stopAt; });
        EXPECT_FALSE(stopped.Typeface) << stopAt;
        EXPECT_EQ(stopped.End, ImportEnd::Cancelled) << stopAt;
        EXPECT_FALSE(stopped.Reason.empty());
        EXPECT_EQ(cancelled.Draws.size(),
                  static_cast<std::size_t>(std::max<std::int64_t>(0, stopAt - 10)));
    }
}

TEST(ImportOptionsTest, DefaultsAreTheImportWindows) {
    const ImportOptions options;
    EXPECT_EQ(options.Family, "Arial");
    EXPECT_EQ(options.Size, 24);
    EXPECT_EQ(options.TextAntialiasMode, TextHint::AntiAlias);
    EXPECT_EQ(options.CompositingQuality, DrawingQuality::AssumeLinear);
    EXPECT_EQ(options.Style, 0);
    EXPECT_FALSE(options.HalfPixel || options.Center || options.Unicode);
    EXPECT_EQ(options.LetterSpace + options.PaddingTop + options.PaddingBottom +
                  options.PaddingLeft + options.PaddingRight,
              0);
    EXPECT_EQ(options.MaxWidth, 512);
}

TEST(ImportOptionsTest, ClampingBringsEveryNumberIntoItsRangeAndLeavesTheRest) {
    struct Case {
        std::int64_t ImportOptions::*Field;
        std::int64_t Value, Clamped;
    };
    const Case cases[] = {
        {&ImportOptions::Size, 9999, 128},
        {&ImportOptions::Size, -1, 0},
        {&ImportOptions::LetterSpace, -500, -100},
        {&ImportOptions::PaddingTop, 101, 100},
        {&ImportOptions::PaddingBottom, -101, -100},
        {&ImportOptions::PaddingLeft, INT64_MIN, -100},
        {&ImportOptions::PaddingRight, INT64_MAX, 100},
        {&ImportOptions::MaxWidth, 16385, 16384},
        {&ImportOptions::Gutter, -3, 0},
        {&ImportOptions::Gutter, 65, 64},
        {&ImportOptions::Gutter, 7, 7},
        {&ImportOptions::Style, 0xFFFF, 0xFFFF},
    };
    for (const Case& c : cases) {
        ImportOptions options;
        options.*c.Field = c.Value;
        options.TextAntialiasMode = TextHint::SystemDefault;
        options.Characters = "32-126";
        ImportOptions expected = options;
        expected.*c.Field = c.Clamped;
        EXPECT_EQ(ClampedImportOptions(options), expected) << c.Value;
    }
}

TEST(ImportOptionsTest, OutOfRangeNumbersAreClampedNotOverflowed) {
    FakeGlyphSource source;
    ImportOptions options;
    options.LetterSpace = INT64_MAX;
    options.PaddingLeft = INT64_MIN;
    options.PaddingRight = INT64_MAX;
    options.MaxWidth = -5;
    auto result = Import(options, Codes(1, 2), source);
    ASSERT_TRUE(result.Typeface) << result.Reason;
    const auto& first = *result.Typeface->Content.Characters.begin();
    EXPECT_EQ(first.Outlay.Width, 10 + 100);
    EXPECT_EQ(first.Outlay.X, 100);
    EXPECT_EQ(first.Source.Width, 10);
    EXPECT_EQ(result.Typeface->Content.Image->Width, 64);
}

} // namespace
} // namespace glyfora::fontimport
