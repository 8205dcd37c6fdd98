#include "document/RowPacking.h"

#include <algorithm>

namespace glyfora::document {

namespace {

// Cell sizes beyond this are clamped while searching, so that the running sums of any list that
// fits in memory cannot overflow; such a cell cannot fit a field anyway.
constexpr std::int64_t MaxSearchedCell = std::int64_t{1} << 32;

bool AllCornersWithin(std::span<const CellSize> cells, std::int64_t width, std::int64_t low,
                      std::int64_t high) {
    RowPacker packer{width};
    for (const CellSize& cell : cells) {
        const CellCorner corner =
            PlaceCell(packer, std::clamp(cell.Width, -MaxSearchedCell, MaxSearchedCell),
                      std::clamp(cell.Height, -MaxSearchedCell, MaxSearchedCell));
        if (corner.X < low || corner.X > high || corner.Y < low || corner.Y > high) {
            return false;
        }
    }
    return true;
}

} // namespace

CellCorner PlaceCell(RowPacker& packer, std::int64_t width, std::int64_t height) {
    if (packer.MaxWidth != 0 && packer.X + width > packer.MaxWidth) {
        packer.Y += packer.RowHeight;
        packer.RowHeight = 0;
        packer.X = 0;
    }
    packer.RowHeight = std::max(packer.RowHeight, height);
    const CellCorner corner{packer.X, packer.Y};
    packer.X += width;
    return corner;
}

std::int64_t PackedHeight(const RowPacker& packer) {
    return packer.Y + packer.RowHeight;
}

std::optional<std::int64_t> NarrowestPackingWidth(std::span<const CellSize> cells, std::int64_t low,
                                                  std::int64_t high) {
    // Every placed corner lies left of the width, so widths up to high keep X in range.
    std::int64_t widest = 1;
    for (const CellSize& cell : cells) {
        widest = std::max(widest, std::min(cell.Width, MaxSearchedCell));
    }
    std::int64_t narrow = std::min(widest, high);
    std::int64_t wide = high;
    if (wide < 1 || !AllCornersWithin(cells, wide, low, high)) {
        return std::nullopt;
    }
    // Invariant: wide fits; the answer lies in narrow..wide.
    while (narrow < wide) {
        const std::int64_t middle = narrow + (wide - narrow) / 2;
        if (AllCornersWithin(cells, middle, low, high)) {
            wide = middle;
        } else {
            narrow = middle + 1;
        }
    }
    return wide;
}

} // namespace glyfora::document
