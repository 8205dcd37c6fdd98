#pragma once

#include <cstdint>
#include <vector>

namespace glyfora::fontimport {

// Coverage of 0..1 per pixel, row by row: a rasterised glyph as the effects measure it.
struct CoverageGrid {
    std::int64_t Width = 0, Height = 0;
    std::vector<float> Values;
};

// Which way a distance to the glyph's edge is measured: from the pixels beyond the glyph to it
// (Outside), or from the pixels within it to the uncovered ones (Inside).
enum class EdgeSide { Outside, Inside };

// For every pixel of grid, the distance in pixels from its centre to the glyph's edge, measured
// from side. A pixel of coverage c holds an edge 0.5 - c (Outside) or c - 0.5 (Inside) from its
// centre, so antialiased edges give fractional distances and a pixel on the far side of the edge
// gets its own (negative or small) value. Works from the rasterised union of all contours, so
// overlapping contours cannot turn a distance's sign. Exact below reach; beyond it at least reach
// or infinity, where the callers need no more. The work grows with reach squared.
[[nodiscard]] std::vector<float> DistanceToEdge(const CoverageGrid& grid, EdgeSide side,
                                                float reach);

} // namespace glyfora::fontimport
