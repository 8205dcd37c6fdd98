#pragma once

#include <cstdint>
#include <vector>

namespace glyfora::document {

// The one shape both packings share: the sizes of the cells going in, and what a packing makes
// of them, whether in rows (RowPacking) or compactly (SkylinePacking).
struct CellSize {
    std::int64_t Width = 0, Height = 0;
};

struct CellCorner {
    std::int64_t X = 0, Y = 0;
};

// Where each cell lies and the picture that holds them.
struct PackedCells {
    std::vector<CellCorner> Corners; // one per cell, in the order given
    std::int64_t Width = 0;          // the picture that holds them
    std::int64_t Height = 0;
};

} // namespace glyfora::document
