#include "document/Image.h"
#include "document/SkylinePacking.h"

#include <algorithm>
#include <bit>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace glyfora::document {
namespace {

// Cells of glyph-like sizes, reproducible.
std::vector<CellSize> GlyphLikeCells(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> width(1, 20), height(5, 26);
    std::vector<CellSize> cells;
    for (int i = 0; i < count; ++i) {
        cells.push_back({width(random), height(random)});
    }
    cells.push_back({0, 17}); // a space: no pixels
    return cells;
}

// Every cell lies inside the picture and no two cells come closer than the gutter.
void ExpectSeparated(std::span<const CellSize> cells, const PackedCells& packed,
                     std::int64_t gutter) {
    ASSERT_EQ(packed.Corners.size(), cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CellCorner a = packed.Corners[i];
        if (cells[i].Width == 0 || cells[i].Height == 0) {
            EXPECT_EQ(a.X, 0);
            EXPECT_EQ(a.Y, 0);
            continue;
        }
        ASSERT_GE(a.X, 0);
        ASSERT_GE(a.Y, 0);
        ASSERT_LE(a.X + cells[i].Width, packed.Width);
        ASSERT_LE(a.Y + cells[i].Height, packed.Height);
        for (std::size_t j = i + 1; j < cells.size(); ++j) {
            const CellCorner b = packed.Corners[j];
            if (cells[j].Width == 0 || cells[j].Height == 0) {
                continue;
            }
            const bool apart =
                a.X + cells[i].Width + gutter <= b.X || b.X + cells[j].Width + gutter <= a.X ||
                a.Y + cells[i].Height + gutter <= b.Y || b.Y + cells[j].Height + gutter <= a.Y;
            ASSERT_TRUE(apart) << "cells " << i << " and " << j;
        }
    }
}

TEST(SkylinePacking, CellsAreSeparatedAndThePictureIsTight) {
    struct Case {
        PackingRules Rules;
        std::int64_t ExpectedWidth; // 0: near-square
    };
    const Case cases[] = {
        {{1, 256, false, {}}, 256}, {{0, 300, false, {}}, 300}, {{3, 128, false, {}}, 128},
        {{1, 0, false, {}}, 0},     {{1, 300, true, {}}, 256},  {{2, 0, true, {}}, 0},
    };
    const std::vector<CellSize> cells = GlyphLikeCells(400, 7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Rules.Gutter * 100000 + c.Rules.MaxWidth);
        const base::Result<PackedCells> packed = PackCells(cells, c.Rules);
        ASSERT_TRUE(packed.Ok()) << packed.Error;
        ExpectSeparated(cells, *packed.Value, c.Rules.Gutter);
        if (c.ExpectedWidth != 0) {
            EXPECT_EQ(packed.Value->Width, c.ExpectedWidth);
        }
        if (c.Rules.PowerOfTwo) {
            EXPECT_TRUE(std::has_single_bit(static_cast<std::uint64_t>(packed.Value->Width)));
            EXPECT_TRUE(std::has_single_bit(static_cast<std::uint64_t>(packed.Value->Height)));
        } else if (c.Rules.MaxWidth == 0) {
            // Near-square and dense: the cells with their gutters fill most of the picture.
            double used = 0;
            for (const CellSize& cell : cells) {
                used += static_cast<double>((cell.Width + 1) * (cell.Height + 1)) *
                        (cell.Width > 0 ? 1 : 0);
            }
            const double area = static_cast<double>(packed.Value->Width * packed.Value->Height);
            EXPECT_GT(used / area, 0.85);
            EXPECT_LT(std::abs(packed.Value->Width - packed.Value->Height),
                      packed.Value->Width / 4);
        }
    }
}

TEST(SkylinePacking, RefusesCellsThatCannotFit) {
    const std::vector<CellSize> wide = {{10, 10}, {600, 4}};
    EXPECT_FALSE(PackCells(wide, {1, 512, false, {}}).Ok());
    EXPECT_FALSE(PackCells(wide, {1, 1000, true, {}}).Ok()); // packs at 512
    EXPECT_TRUE(PackCells(wide, {1, 1024, true, {}}).Ok());
    const std::vector<CellSize> huge = {{20000, 3}};
    EXPECT_FALSE(PackCells(huge, {1, 0, false, {}}).Ok());
    const base::Result<PackedCells> empty = PackCells({}, {1, 64, false, {}});
    ASSERT_TRUE(empty.Ok());
    EXPECT_EQ(empty.Value->Height, 0);
}

// The advised width is one at which the packing keeps every corner in range, and the narrowest:
// one pixel narrower (or the widest cell's width) does not.
TEST(SkylinePacking, AdvisesTheNarrowestWidthThatKeepsCornersInRange) {
    const std::vector<CellSize> glyphs = GlyphLikeCells(400, 7);
    const struct {
        const char* Name;
        std::vector<CellSize> Cells;
        PackingRules Rules;
        std::int64_t High;
        bool Fits;
    } cases[] = {
        {"glyphs, gutter 1", glyphs, {1, 0, false, {}}, 300, true},
        {"glyphs, gutter 3", glyphs, {3, 0, false, {}}, 300, true},
        {"glyphs, roomy", glyphs, {1, 0, false, {}}, 100000, true},
        {"one cell taller than the range", {{4, 50}, {4, 400}}, {1, 0, false, {}}, 10, true},
        {"too many cells for any width",
         std::vector<CellSize>(20000, {16384, 1}),
         {1, 0, false, {}},
         1000,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::optional<std::int64_t> width =
            NarrowestCompactWidth(c.Cells, c.Rules, 0, c.High);
        ASSERT_EQ(width.has_value(), c.Fits);
        if (!width) {
            continue;
        }
        const auto maxY = [&](std::int64_t w) {
            PackingRules rules = c.Rules;
            rules.MaxWidth = w;
            const base::Result<PackedCells> packed = PackCells(c.Cells, rules);
            std::int64_t y = std::numeric_limits<std::int64_t>::max();
            if (packed) {
                y = 0;
                for (const CellCorner& corner : packed.Value->Corners) {
                    y = std::max(y, corner.Y);
                }
            }
            return y;
        };
        EXPECT_LE(maxY(*width), c.High);
        if (*width > 20) {
            EXPECT_GT(maxY(*width - 1), c.High);
        }
    }
}

TEST(SkylinePacking, CountsCellPixelsUpToOnePicture) {
    const std::uint64_t limit = MaxImageBytes / 4;
    const struct {
        std::uint64_t Before;
        CellSize Cell;
        std::uint64_t After;
        bool Fits;
    } cases[] = {
        {0, {16, 16}, 256, true},
        {0, {0, 100}, 0, true},
        {limit - 256, {16, 16}, limit, true},
        {limit - 255, {16, 16}, limit + 1, false},
        {0, {16384, 16384}, 16384u * 16384u, true},
        {1, {16384, 16384}, 16384u * 16384u + 1, false},
    };
    for (const auto& c : cases) {
        std::uint64_t pixels = c.Before;
        EXPECT_EQ(CountCellPixels(pixels, c.Cell), c.Fits) << c.Before;
        EXPECT_EQ(pixels, c.After);
    }
}

} // namespace
} // namespace glyfora::document

namespace glyfora::document {
namespace {

TEST(CompactPacking, FillsPagesOfExactlyThePageSize) {
    const struct {
        const char* Name;
        std::vector<CellSize> Cells;
        PageSize Page;
        std::int64_t Gutter;
        std::int64_t Pages;
    } cases[] = {
        {"one page", std::vector<CellSize>(10, {10, 10}), {64, 64}, 1, 1},
        // 30 cells of 31 x 31 plus a gutter: four to a 64-pixel page.
        {"eight pages", std::vector<CellSize>(30, {31, 31}), {64, 64}, 1, 8},
        {"cells filling their page exactly", std::vector<CellSize>(9, {64, 64}), {64, 64}, 4, 9},
        {"wide pages", std::vector<CellSize>(100, {20, 8}), {256, 64}, 0, 2},
        {"mixed sizes",
         {{60, 60}, {3, 3}, {0, 5}, {60, 2}, {64, 1}, {5, 0}, {33, 33}},
         {64, 64},
         1,
         2},
        {"no ink gives one empty page", {{0, 0}}, {64, 128}, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PackingRules rules;
        rules.Gutter = c.Gutter;
        rules.MaxWidth = 16; // ignored with pages
        rules.PowerOfTwo = true;
        rules.Pages = c.Page;
        const base::Result<PackedCells> packed = PackCells(c.Cells, rules);
        ASSERT_TRUE(packed.Ok()) << packed.Error;
        EXPECT_EQ(packed.Value->Width, c.Page.Width);
        EXPECT_EQ(packed.Value->Height, c.Pages * c.Page.Height);
        for (std::size_t i = 0; i < c.Cells.size(); ++i) {
            const CellCorner corner = packed.Value->Corners[i];
            const CellSize cell = c.Cells[i];
            if (cell.Width == 0 || cell.Height == 0) {
                EXPECT_EQ(corner.X, 0);
                EXPECT_EQ(corner.Y, 0);
                continue;
            }
            const std::int64_t page = corner.Y / c.Page.Height;
            EXPECT_LE(corner.X + cell.Width, c.Page.Width) << i;
            EXPECT_LE(corner.Y + cell.Height, (page + 1) * c.Page.Height) << i; // within its page
            for (std::size_t j = 0; j < i; ++j) { // apart from the others of its page by the gutter
                const CellCorner other = packed.Value->Corners[j];
                const CellSize size = c.Cells[j];
                const bool apart = size.Width == 0 || size.Height == 0 ||
                                   other.Y / c.Page.Height != page ||
                                   corner.X >= other.X + size.Width + c.Gutter ||
                                   other.X >= corner.X + cell.Width + c.Gutter ||
                                   corner.Y >= other.Y + size.Height + c.Gutter ||
                                   other.Y >= corner.Y + cell.Height + c.Gutter;
                EXPECT_TRUE(apart) << i << " and " << j;
            }
        }
    }
}

TEST(CompactPacking, RefusesCellsLargerThanAPageAndTooManyPages) {
    PackingRules rules;
    rules.Pages = PageSize{64, 128};
    const base::Result<PackedCells> wide = PackCells(std::vector<CellSize>{{65, 10}}, rules);
    EXPECT_NE(wide.Error.find("a cell of 65 x 10 pixels does not fit a page of 64 x 128"),
              std::string::npos)
        << wide.Error;
    EXPECT_FALSE(PackCells(std::vector<CellSize>{{10, 129}}, rules).Ok());
    rules.Pages = PageSize{16384, 16384};
    const base::Result<PackedCells> many =
        PackCells(std::vector<CellSize>(2, {16384, 16384}), rules);
    EXPECT_NE(many.Error.find("more than an image may hold"), std::string::npos) << many.Error;
}

} // namespace
} // namespace glyfora::document
