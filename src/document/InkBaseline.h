#pragma once

#include "document/Typeface.h"

#include <cstdint>
#include <optional>

namespace glyfora::document {

// The baseline as a font's is found: below the ink of the flat-bottomed glyphs ("H", "I", "x",
// "z", the digits "1", "2", "4", "7" and a few more), in pixels from the line's top as the cells
// are drawn (Outlay Y plus the ink's last row, plus one). The value most of them agree on wins,
// so one odd glyph cannot move it; on a tie the lower baseline. None when the typeface has no
// picture or none of those glyphs has ink.
[[nodiscard]] std::optional<std::int64_t> InkBaseline(const Typeface& typeface);

} // namespace glyfora::document
