#include "CharacterRecords.h"
#include "FakeGlyphSource.h"
#include "ScratchFolder.h"
#include "document/Pixel.h"
#include "formats/TypefaceFile.h"
#include "formats/TypefaceIo.h"
#include "import/ImportRun.h"
#include "views/ExampleTextRenderer.h"
#include "views/SoftwareQuadSurface.h"
#include "views/ViewCanvas.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace glyfora::fontimport {
namespace {

constexpr std::int64_t Id = 5;

class CompactImport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::InitGraphicsLibrary(graphics));
        const auto input = ReadFontImportInput(files, graphics, Roomy(CellLayout::Rows));
        ASSERT_TRUE(input) << input.Error;
        ASSERT_GT(input.Value->Pairs.size(), 100U);
    }

    // DejaVu Sans 24 with paddings wide enough that no row cell cuts ink off.
    static ImportOptions Roomy(CellLayout layout) {
        ImportOptions options;
        options.Family = "DejaVu Sans";
        options.PaddingLeft = options.PaddingRight = 4;
        options.PaddingTop = options.PaddingBottom = 2;
        options.Layout = layout;
        return options;
    }

    // The characters and pairs are chosen for each import, as the options' Unicode decides.
    std::unique_ptr<document::Typeface> Import(const ImportOptions& options) {
        const auto input = ReadFontImportInput(files, graphics, options);
        EXPECT_TRUE(input) << input.Error;
        auto result = ImportFromInput(registry, Id, options, *input.Value, graphics, files);
        EXPECT_TRUE(result.Typeface) << result.Reason;
        return std::move(result.Typeface);
    }

    document::Image Render(std::unique_ptr<document::Typeface> typeface, std::u16string_view text) {
        (void)document::InstallTypeface(registry, std::move(typeface));
        views::SoftwareQuadSurface surface(900, 700);
        surface.Clear(document::ColourOf(views::ViewBackground));
        views::DrawTypefaceText(registry, surface, Id, 3.0F, 2.0F, text);
        return std::move(surface.Target);
    }

    platform::GraphicsLibrary graphics;
    FontFiles files;
    document::TypefaceRegistry registry;
};

std::u16string PrintableLatin1() {
    std::u16string text;
    for (char16_t code = 0x21; code <= 0xFF; ++code) {
        if (code < 0x7F || code > 0xA0) {
            text += code;
        }
        if (code % 24 == 0) {
            text += u'\n';
        }
    }
    return text + u"\nAVAT To Wa fij";
}

TEST_F(CompactImport, DrawsTheSamePixelsAsRows) {
    struct Case {
        const char* Name;
        void (*Adjust)(ImportOptions&);
    };
    const Case cases[] = {
        {"defaults", [](ImportOptions&) {}},
        {"centred", [](ImportOptions& o) { o.Center = true; }},
        {"half pixel, hinted",
         [](ImportOptions& o) {
             o.HalfPixel = true, o.TextAntialiasMode = TextHint::AntiAliasGridFit;
         }},
        {"italic, centred", [](ImportOptions& o) { o.Style = 0x200, o.Center = true; }},
        {"monochrome, hinted",
         [](ImportOptions& o) { o.TextAntialiasMode = TextHint::SingleBitPerPixelGridFit; }},
        {"bold, letter space", [](ImportOptions& o) { o.Style = 0x100, o.LetterSpace = 2; }},
        {"one row, no gutter", [](ImportOptions& o) { o.MaxWidth = 0, o.Gutter = 0; }},
        {"power of two, wide gutter", [](ImportOptions& o) { o.PowerOfTwo = true, o.Gutter = 5; }},
        {"pages of 128",
         [](ImportOptions& o) {
             o.Pages = document::PageSize{128, 128};
         }},
    };
    const std::u16string text = PrintableLatin1();
    for (const Case& c : cases) {
        ImportOptions rows = Roomy(CellLayout::Rows);
        c.Adjust(rows);
        ImportOptions compact = rows;
        compact.Layout = CellLayout::Compact;
        const document::Image rowPixels = Render(Import(rows), text);
        const document::Image compactPixels = Render(Import(compact), text);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < rowPixels.Pixels.size(); ++i) {
            differing += rowPixels.Pixels[i] != compactPixels.Pixels[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0U) << c.Name;
        const auto inked = std::count_if(
            rowPixels.Pixels.begin(), rowPixels.Pixels.end(),
            [](std::uint32_t pixel) { return pixel != document::ColourOf(views::ViewBackground); });
        EXPECT_GT(inked, 10000) << c.Name;
    }
}

TEST_F(CompactImport, KeepsAdvancesLineHeightsAndKerningOfRows) {
    for (const bool unicode : {false, true}) {
        ImportOptions options = Roomy(CellLayout::Rows);
        options.Unicode = unicode;
        options.LetterSpace = -1;
        const auto rows = Import(options);
        options.Layout = CellLayout::Compact;
        const auto compact = Import(options);
        ASSERT_TRUE(rows && compact);
        const auto& rowContent = rows->Content;
        const auto& compactContent = compact->Content;
        ASSERT_EQ(rowContent.Characters.Size(), compactContent.Characters.Size());
        auto row = rowContent.Characters.begin();
        for (const document::Character& character : compactContent.Characters) {
            EXPECT_EQ(character.Index, row->Index);
            EXPECT_EQ(character.Outlay.Width, row->Outlay.Width) << character.Index;
            EXPECT_EQ(character.Outlay.Height, row->Outlay.Height) << character.Index;
            ++row;
        }
        ASSERT_EQ(rowContent.KerningPairs.Size(), compactContent.KerningPairs.Size());
        auto pair = rowContent.KerningPairs.begin();
        for (const document::KerningPair& kerning : compactContent.KerningPairs) {
            EXPECT_EQ(kerning.PairKey, pair->PairKey);
            EXPECT_EQ(kerning.Amount, pair->Amount);
            ++pair;
        }
        // Only the spacing between cells differs: the compact layout leaves its gutter there.
        auto compactProperties = compactContent.Properties;
        EXPECT_EQ(compactProperties["Spacing"], "1,1");
        compactProperties["Spacing"] = "0,0";
        EXPECT_EQ(rowContent.Properties, compactProperties);
        // Compact pictures are much smaller.
        EXPECT_LT(compactContent.Image->Width * compactContent.Image->Height * 4,
                  rowContent.Image->Width * rowContent.Image->Height * 3);
    }
}

using testsupport::AlphaIn;

TEST_F(CompactImport, FillsPagesAndRecordsTheirSize) {
    for (const document::PageSize page : {document::PageSize{64, 64}, {256, 128}, {2048, 2048}}) {
        ImportOptions options = Roomy(CellLayout::Compact);
        options.Pages = page;
        const auto typeface = Import(options);
        ASSERT_TRUE(typeface);
        EXPECT_EQ(document::PageSizeOf(*typeface), page);
        const document::Image& picture = *typeface->Content.Image;
        EXPECT_EQ(picture.Width, page.Width);
        EXPECT_EQ(picture.Height % page.Height, 0);
        for (const document::Character& c : typeface->Content.Characters) {
            if (c.Source.Height > 0) {
                EXPECT_EQ(c.Source.Y / page.Height,
                          (c.Source.Y + c.Source.Height - 1) / page.Height)
                    << c.Index;
            }
        }
    }
    // The rows layout holds one picture, whatever the page size says.
    ImportOptions rows = Roomy(CellLayout::Rows);
    rows.Pages = document::PageSize{64, 64};
    const auto typeface = Import(rows);
    ASSERT_TRUE(typeface);
    EXPECT_EQ(document::PageSizeOf(*typeface), std::nullopt);
    EXPECT_EQ(typeface->Content.Image->Width, 512);
}

TEST_F(CompactImport, KeepsInkBeyondTheAdvanceBox) {
    ImportOptions options;
    options.Family = "DejaVu Sans";
    options.Style = 0x200;
    const auto rows = Import(options);
    options.Layout = CellLayout::Compact;
    const auto compact = Import(options);
    ASSERT_TRUE(rows && compact);
    // Italic f overhangs on both sides, j reaches left of its origin.
    for (const std::uint16_t code : {u'f', u'j', u'J'}) {
        const auto* row = document::FindCharacter(*rows, code);
        const auto* cell = document::FindCharacter(*compact, code);
        ASSERT_TRUE(row && cell);
        EXPECT_TRUE(cell->Outlay.X < 0 || cell->Outlay.X + cell->Source.Width > cell->Outlay.Width)
            << code;
        EXPECT_GT(AlphaIn(*compact->Content.Image, cell->Source),
                  AlphaIn(*rows->Content.Image, row->Source))
            << code;
    }
    const auto* space = document::FindCharacter(*compact, u' ');
    ASSERT_TRUE(space);
    EXPECT_EQ(space->Source, (document::Rect64{0, 0, 0, 0}));
    EXPECT_EQ(space->Outlay.Width, document::FindCharacter(*rows, u' ')->Outlay.Width);
}

TEST_F(CompactImport, PacksWithGuttersWidthsAndPowersOfTwo) {
    struct Case {
        std::int64_t Gutter, MaxWidth;
        bool PowerOfTwo;
        std::int64_t Width; // 0: near-square
    };
    const Case cases[] = {{0, 0, false, 0},    {1, 0, false, 0}, {3, 300, false, 300},
                          {2, 300, true, 256}, {1, 0, true, 0},  {1, 16384, false, 16384}};
    for (const Case& c : cases) {
        ImportOptions options;
        options.Family = "DejaVu Sans";
        options.Layout = CellLayout::Compact;
        options.Gutter = c.Gutter;
        options.MaxWidth = c.MaxWidth;
        options.PowerOfTwo = c.PowerOfTwo;
        const auto typeface = Import(options);
        ASSERT_TRUE(typeface);
        const document::Image& picture = *typeface->Content.Image;
        if (c.Width != 0) {
            EXPECT_EQ(picture.Width, c.Width);
        } else {
            EXPECT_LT(picture.Width, picture.Height * 2);
            EXPECT_LT(picture.Height, picture.Width * 2);
        }
        if (c.PowerOfTwo) {
            EXPECT_TRUE(std::has_single_bit(static_cast<std::uint64_t>(picture.Width)));
            EXPECT_TRUE(std::has_single_bit(static_cast<std::uint64_t>(picture.Height)));
        }
        std::vector<document::Rect64> cells;
        for (const document::Character& character : typeface->Content.Characters) {
            const document::Rect64& cell = character.Source;
            if (cell.Width > 0) {
                EXPECT_LE(cell.X + cell.Width, picture.Width);
                EXPECT_LE(cell.Y + cell.Height, picture.Height);
                cells.push_back(cell);
            }
        }
        for (std::size_t i = 0; i < cells.size(); ++i) {
            for (std::size_t j = i + 1; j < cells.size(); ++j) {
                const document::Rect64& a = cells[i];
                const document::Rect64& b = cells[j];
                const bool apart =
                    a.X + a.Width + c.Gutter <= b.X || b.X + b.Width + c.Gutter <= a.X ||
                    a.Y + a.Height + c.Gutter <= b.Y || b.Y + b.Height + c.Gutter <= a.Y;
                ASSERT_TRUE(apart) << "gutter " << c.Gutter << ", cells " << i << " and " << j;
            }
        }
    }
}

TEST_F(CompactImport, WideRowPicturesSaveAndLoad) {
    ImportOptions options;
    options.Family = "DejaVu Sans";
    options.Unicode = true;
    for (const CellLayout layout : {CellLayout::Rows, CellLayout::Compact}) {
        options.Layout = layout;
        options.MaxWidth = 16384;
        auto typeface = Import(options);
        ASSERT_TRUE(typeface);
        EXPECT_EQ(typeface->Content.Image->Width, 16384);
        const testsupport::ScratchFolder folder;
        const std::string file = folder.File("wide.tf");
        ASSERT_TRUE(formats::WriteTfFile(*typeface, file).Ok());
        document::TypefaceRegistry loadedRegistry;
        const auto loaded = formats::LoadTypeface(loadedRegistry, Id, file);
        ASSERT_TRUE(loaded.Ok()) << loaded.Error;
        EXPECT_EQ(loaded.Value->Installed->Content.Image->Pixels, typeface->Content.Image->Pixels);
    }
}

TEST(CompactCells, CropToTheInkWhereverItReaches) {
    struct Case {
        FakeGlyphSource::Block Block;
        std::int64_t Padding;
    };
    // Blocks reaching far beyond the advance box make the scratch grow; an empty one has no ink.
    const Case cases[] = {{{2, 3, 5, 9}, 0},   {{-40, -30, 20, 4}, 1}, {{0, 0, 300, 2}, 2},
                          {{35, 45, 6, 6}, 0}, {{0, 0, 0, 0}, 3},      {{1, 1, 2, 2}, -1},
                          {{1, 1, 4, 3}, -1}};
    for (const Case& c : cases) {
        FakeGlyphSource source;
        source.Blocks['A'] = c.Block;
        ImportOptions options;
        options.Layout = CellLayout::Compact;
        options.PaddingLeft = options.PaddingRight = c.Padding;
        options.PaddingTop = options.PaddingBottom = c.Padding;
        document::TypefaceRegistry registry;
        GlyphSource* const sources[] = {&source};
        const auto result =
            ImportFromInput(registry, Id, options, {{'A'}, {}, false, {}, {}}, sources);
        ASSERT_TRUE(result.Typeface) << result.Reason;
        const document::Character& a = *result.Typeface->Content.Characters.begin();
        const std::int64_t width = std::max<std::int64_t>(c.Block.Width + 2 * c.Padding, 0);
        const std::int64_t height = std::max<std::int64_t>(c.Block.Height + 2 * c.Padding, 0);
        const bool empty = c.Block.Width == 0 || width == 0 || height == 0;
        EXPECT_EQ(a.Source.Width, empty ? 0 : width) << c.Block.X;
        EXPECT_EQ(a.Source.Height, empty ? 0 : height) << c.Block.X;
        EXPECT_EQ(a.Outlay, (document::Rect64{-c.Padding + (empty ? 0 : c.Block.X),
                                              -c.Padding + (empty ? 0 : c.Block.Y), 10, 20}));
        if (!empty) {
            EXPECT_EQ(AlphaIn(*result.Typeface->Content.Image, a.Source),
                      255U * static_cast<std::uint64_t>(std::min(width, c.Block.Width) *
                                                        std::min(height, c.Block.Height)));
        }
    }
}

} // namespace
} // namespace glyfora::fontimport
