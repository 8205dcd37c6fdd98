#pragma once

#include "base/Result.h"
#include "document/Typeface.h"

#include <cstdint>
#include <string>

namespace glyfora::document {

// What a whole-layout command did: Done when it was carried out (changed or not), otherwise
// Refusal says why nothing was changed, in words for the user.
// Gives every code c in first..last the record of the character 32 codes lower, its Source moved
// down by shift: an existing c is deleted first and the copy goes in after the current element.
// Codes whose lower partner is missing are left alone. Returns how many characters were written.
std::int64_t CopyUpperToLower(Typeface& typeface, std::int64_t first, std::int64_t last,
                              std::int64_t shift);

// Multiplies every Source and Outlay field and every kerning Amount by scale in 32-bit float
// arithmetic, rounding halves to even. Refused, with nothing changed, when the scale is not finite
// or any result would not fit a 32-bit signed integer.
[[nodiscard]] base::Result<base::Done> ScaleLayout(Typeface& typeface, float scale);

// Spreads the cells of a 16-column grid apart: every cell grows by spacing on each side, cell c
// moves by (c mod 16, c div 16) × 2 × spacing, the drawing offsets move by −spacing, and the
// picture is rebuilt 32 × spacing larger with each cell's pixels blended onto a transparent
// ground. Only the part of a cell inside the old picture is copied. Spacing 0 changes nothing.
// Refused, with nothing changed, without a picture, when the new picture would be empty, negative
// or beyond the size limit, or when a moved metric would overflow.
[[nodiscard]] base::Result<base::Done> SpacingLayout(Typeface& typeface, std::int64_t spacing);

} // namespace glyfora::document
