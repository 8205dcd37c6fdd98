#pragma once

#include "document/PackedCells.h"
#include "import/GlyphMeasuring.h"

#include <cstdint>
#include <span>
#include <vector>

namespace glyfora::fontimport {

// ceil(value / 64) × 64.
[[nodiscard]] std::int64_t RoundUpTo64(std::int64_t value);

// The row layout's cell of every measured glyph, in order: its advance and line height with the
// paddings around them, and around those the reach of the effects' ink.
[[nodiscard]] std::vector<document::CellSize> RowCells(const MeasuredGlyphs& measured,
                                                       const ImportOptions& options);

// The row layout: cells placed left to right in rows that wrap at maxWidth, in a picture maxWidth
// wide (for 0, the width of one row of all cells rounded up to 64) whose height is the rows'
// rounded up to 64. The compact layout starts from it too, since it draws every glyph where its
// row cell puts it.
[[nodiscard]] document::PackedCells LayOutRows(std::span<const document::CellSize> cells,
                                               std::int64_t maxWidth);

} // namespace glyfora::fontimport
