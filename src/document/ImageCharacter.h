#pragma once

#include "base/Result.h"
#include "document/Image.h"
#include "document/Typeface.h"

#include <cstdint>
#include <optional>

namespace glyfora::document {

// How a picture stands as a character: its drawing offset, its advance (none: the picture's
// width) and the empty pixels kept between it and every other cell.
struct ImagePlacement {
    std::int64_t OffsetX = 0;
    std::int64_t OffsetY = 0;
    std::optional<std::int64_t> Advance;
    std::int64_t Gutter = 1;
};

// Makes picture, pixel for pixel with its colours, the cell of the character code (replacing that
// character's record, or adding one). The cell goes into free space of the character-set picture:
// the top-most, then left-most place whose pixels are all transparent and that keeps Gutter pixels
// away from every other character's cell (the replaced character's old cell counts as free).
// When there is no such place the picture grows downwards by the gutter and the picture's height,
// and at least to its width, and the cell goes in at the bottom left; no existing cell moves, so
// "Pack compactly" afterwards gives the tightest picture. Outlay is (OffsetX, OffsetY, the
// advance, the space character's line advance or, without a space, the picture's height). Refused,
// with nothing changed, for a code outside 0..65535, a picture without pixels, or a picture that
// would grow beyond the size limit.
[[nodiscard]] base::Result<base::Done> AddImageCharacter(Typeface& typeface, std::int64_t code,
                                                         const Image& picture,
                                                         const ImagePlacement& placement);

// The code "Add Image" proposes: the first code of the Private Use Area (U+E000..U+F8FF), where
// pictures without a character of their own belong, that no character has; when every one is
// taken, the lowest free code from 1; -1 when no code is free.
[[nodiscard]] std::int64_t FreeImageCode(const Typeface& typeface);

} // namespace glyfora::document
