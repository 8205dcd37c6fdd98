#pragma once

#include "base/Result.h"
#include "document/PackedCells.h"
#include "document/PageSize.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace glyfora::document {

// The widest and tallest picture a packing makes: what a GPU texture commonly holds. Gutters are
// kept within the import's GutterOption.Range.
constexpr std::int64_t MaxPackedSide = 16384;

// How cells are laid into a compact picture.
struct PackingRules {
    std::int64_t Gutter = 1;   // empty pixels kept between cells, so filtering never bleeds
    std::int64_t MaxWidth = 0; // the picture's width; 0 chooses a near-square picture
    bool PowerOfTwo = false;   // both sides rounded up to powers of two
    // Pages of exactly this size, filled one after another and stacked top to bottom; MaxWidth
    // and PowerOfTwo do not apply then.
    std::optional<PageSize> Pages;
};

// Packs the cells densely with a skyline packer (Jukka Jylänki, "A Thousand Ways to Pack the
// Bin", 2010, as stb_rect_pack implements it), keeping Gutter pixels between any two cells. The
// picture is MaxWidth wide (with PowerOfTwo, the largest power of two not above it) or, for
// MaxWidth 0, the near-square width that gives the smallest picture; its height is as small as
// the packing allows. With Pages, each page takes every remaining cell the packer can place within
// it and the rest go on to the next, so no cell crosses a page's edge; the picture is one page
// wide and a whole number of pages tall. Cells without pixels take no room and lie at (0, 0).
// Fails when a cell is wider than the picture or larger than a page, or the picture would hold
// more than an image may.
[[nodiscard]] base::Result<PackedCells> PackCells(std::span<const CellSize> cells,
                                                  const PackingRules& rules);

// The narrowest picture width up to MaxPackedSide at which PackCells with rules (its MaxWidth
// aside) puts every corner's Y within low..high; none when no width does. X stays below the width,
// which every format holds. A narrower picture packs taller, so the width is found by halving.
[[nodiscard]] std::optional<std::int64_t> NarrowestCompactWidth(std::span<const CellSize> cells,
                                                                PackingRules rules,
                                                                std::int64_t low,
                                                                std::int64_t high);

// Counts a cell's pixels into pixels; false once the cells counted take more pixels than one
// picture may hold, whatever their packing, so that a packing bound to fail is refused as soon as
// the cells are known.
[[nodiscard]] bool CountCellPixels(std::uint64_t& pixels, CellSize cell);

} // namespace glyfora::document
