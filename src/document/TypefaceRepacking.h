#pragma once

#include "base/Result.h"
#include "document/SkylinePacking.h"
#include "document/Typeface.h"

namespace glyfora::document {

// Repacks a typeface compactly: every cell is cropped to its ink (the pixels with alpha other than
// 0 that the picture holds inside the cell), its Outlay X and Y move by the crop so that drawn
// text does not change, and the cropped cells are packed by PackCells into a new picture that
// replaces Image, Sprite and FlippedSprite. Cells without ink (empty, of no size, or lying outside
// the picture) become zero-size cells at (0, 0). Cells cropped to the same pixels share one cell,
// so characters that shared a cell still do; overlapping cells each get their own copy. Advances,
// line heights and kerning pairs are not touched. Without Pages in rules the typeface's own page
// size applies, so a paged typeface stays paged; the page size used is recorded as its property.
// Refused, with nothing changed, when there are no
// characters or no picture, when a moved offset would overflow, or when the packing fails.
[[nodiscard]] base::Result<base::Done> PackCompactly(Typeface& typeface, const PackingRules& rules);

} // namespace glyfora::document
