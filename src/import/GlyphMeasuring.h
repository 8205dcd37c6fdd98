#pragma once

#include "import/GlyphSource.h"
#include "import/ImportOptions.h"
#include "import/ImportProgress.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace glyfora::fontimport {

// Rounds to the nearest integer, halves away from zero; 0 for values that are not finite.
[[nodiscard]] std::int64_t RoundHalfAwayFromZero(double value);

// One glyph as measuring gives it: its rounded advance (without letter space) and its rounded
// line height, in pixels.
struct MeasuredGlyph {
    std::uint16_t Code = 0;
    std::int64_t Advance = 0;
    std::int64_t LineHeight = 0;
};

// The measuring stage's result: every chosen code measured, in the order of the codes, and what
// the drawing font is.
struct MeasuredGlyphs {
    std::vector<MeasuredGlyph> Glyphs;
    double Ascent = 0.0; // the drawing font's ascent in pixels
    std::string Family;  // the drawing font's family, as matched
};

// Results of measuring or rasterising that may wait for their turn at once: enough to keep the
// workers busy, few enough that their masks take little memory.
constexpr std::int64_t ResultWindow = 512;

// Measures every code on all sources at once (one worker each), the options inside their ranges.
// Stops when no source can open, with a reason naming the family and size, or when progress
// cancels.
[[nodiscard]] Staged<MeasuredGlyphs> MeasureGlyphs(std::span<const std::uint16_t> codes,
                                                   const ImportOptions& options,
                                                   std::span<GlyphSource* const> sources,
                                                   const PassProgress& progress);

} // namespace glyfora::fontimport
