#pragma once

#include "document/PackedCells.h"
#include "import/DrawnGlyphs.h"
#include "import/GlyphMeasuring.h"

#include <span>

namespace glyfora::fontimport {

// The compact layout's drawing stage: every glyph drawn on its own where rows (the row layout)
// would draw it, cropped to its ink plus the paddings, and the cells packed densely by
// document::PackCells with the options' gutter, width and power-of-two rule into a transparent
// white picture. The cells' shifts are what the cropping cut, so each cell drawn at its row cell's
// place shifted by them puts those pixels where the rows put them. Cropping runs on all sources
// at once. Stops when the paddings leave no row cell, when the cells alone take more pixels than
// one picture may hold (as soon as they do), when the packing fails, or when progress cancels.
[[nodiscard]] Staged<DrawnGlyphs> DrawCompactly(const MeasuredGlyphs& measured,
                                                const document::PackedCells& rows,
                                                const ImportOptions& options,
                                                std::span<GlyphSource* const> sources,
                                                const PassProgress& progress);

} // namespace glyfora::fontimport
