#include "document/CompactPacking.h"

#include <bit>
#include <gtest/gtest.h>
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

TEST(CompactPacking, CellsAreSeparatedAndThePictureIsTight) {
    struct Case {
        PackingRules Rules;
        std::int64_t ExpectedWidth; // 0: near-square
    };
    const Case cases[] = {
        {{1, 256, false}, 256}, {{0, 300, false}, 300}, {{3, 128, false}, 128},
        {{1, 0, false}, 0},     {{1, 300, true}, 256},  {{2, 0, true}, 0},
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

TEST(CompactPacking, RefusesCellsThatCannotFit) {
    const std::vector<CellSize> wide = {{10, 10}, {600, 4}};
    EXPECT_FALSE(PackCells(wide, {1, 512, false}).Ok());
    EXPECT_FALSE(PackCells(wide, {1, 1000, true}).Ok()); // packs at 512
    EXPECT_TRUE(PackCells(wide, {1, 1024, true}).Ok());
    const std::vector<CellSize> huge = {{20000, 3}};
    EXPECT_FALSE(PackCells(huge, {1, 0, false}).Ok());
    const base::Result<PackedCells> empty = PackCells({}, {1, 64, false});
    ASSERT_TRUE(empty.Ok());
    EXPECT_EQ(empty.Value->Height, 0);
}

} // namespace
} // namespace glyfora::document
