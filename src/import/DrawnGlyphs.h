#pragma once

#include "document/Image.h"
#include "document/Typeface.h"

#include <cstdint>
#include <vector>

namespace glyfora::fontimport {

// Where a drawn glyph's pixels lie: its cell in the picture, and how far the cell's corner lies
// right of and below the corner of its row cell (0 in the row layout; what the compact layout's
// cropping cut).
struct PlacedGlyph {
    document::Rect64 Cell;
    std::int64_t ShiftX = 0, ShiftY = 0;
};

// A drawing stage's result: the character-set picture and every glyph's place in it, in the order
// of the measured glyphs.
struct DrawnGlyphs {
    document::Image Picture;
    std::vector<PlacedGlyph> Glyphs;
};

} // namespace glyfora::fontimport
