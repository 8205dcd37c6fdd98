#pragma once

#include "import/SfntReading.h"

#include <cstdint>
#include <span>
#include <vector>

namespace glyfora::fontimport {

// Pairs of the legacy `kern` table, in both its Microsoft (version 0) and Apple (version 1.0)
// layouts: horizontal format 0 subtables only (no minimum-value, cross-stream or variation
// subtables). Subtables add up, a subtable with the override bit replaces what came before.
// Only pairs of glyphs in `wanted` are produced, sorted by first then second glyph, each once,
// none with amount 0, at most maxPairs of them. Nothing is read outside `kern`.
[[nodiscard]] std::vector<GlyphKerningPair>
ReadKernTable(std::span<const std::uint8_t> kern, const GlyphSet& wanted,
              std::size_t maxPairs = MaxGlyphKerningPairs);

} // namespace glyfora::fontimport
