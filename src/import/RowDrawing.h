#pragma once

#include "document/PackedCells.h"
#include "import/DrawnGlyphs.h"
#include "import/GlyphMeasuring.h"

#include <span>

namespace glyfora::fontimport {

// The row layout's drawing stage: a picture of the layout's size, transparent white, with every
// glyph drawn in its cell in the fill colour (opaque white unless chosen) or with its effects,
// rasterised on all sources at once and composited in
// list order on this thread, so that where the ink of neighbours overlaps it is blended as one
// source drawing them one after another would blend it. Stops when the picture would be empty or
// larger than an image may be, or when progress cancels.
[[nodiscard]] Staged<DrawnGlyphs> DrawRows(const MeasuredGlyphs& measured,
                                           const document::PackedCells& layout,
                                           const ImportOptions& options,
                                           std::span<GlyphSource* const> sources,
                                           const PassProgress& progress);

} // namespace glyfora::fontimport
