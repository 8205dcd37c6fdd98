#pragma once

#include "document/PackedCells.h"

#include <cstdint>
#include <optional>
#include <span>

namespace glyfora::document {

// The import's packing of character cells into a picture: left to right in list order, each row
// as tall as its tallest cell, rows top to bottom, no gaps. A cell that would end beyond MaxWidth
// starts a new row first; a cell wider than MaxWidth gets a row of its own. MaxWidth 0 keeps
// everything in one row.
struct RowPacker {
    std::int64_t MaxWidth = 0;
    std::int64_t X = 0;         // where the next cell of the current row starts
    std::int64_t Y = 0;         // top of the current row
    std::int64_t RowHeight = 0; // tallest cell of the current row so far
};

// The top-left corner of the next cell of the given size, and the packer moved past it.
CellCorner PlaceCell(RowPacker& packer, std::int64_t width, std::int64_t height);

// The height of everything placed so far: the finished rows and the current one.
[[nodiscard]] std::int64_t PackedHeight(const RowPacker& packer);

// The narrowest picture width, at least the widest cell, at which packing cells puts every
// corner's X and Y within low..high; none when no width does. A narrower picture needs more rows,
// so the width is found by halving; for cells of one height (every import) it is exact.
[[nodiscard]] std::optional<std::int64_t>
NarrowestPackingWidth(std::span<const CellSize> cells, std::int64_t low, std::int64_t high);

} // namespace glyfora::document
