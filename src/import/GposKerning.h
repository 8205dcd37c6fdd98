#pragma once

#include "import/SfntReading.h"

#include <cstdint>
#include <span>
#include <vector>

namespace glyfora::fontimport {

constexpr std::size_t MaxGposPairVisits = std::size_t{1} << 26;

// Horizontal pair adjustments of a GPOS table: the advance change of the first glyph (XAdvance of
// its value record) from the pair positioning lookups (type 2, formats 1 and 2, also behind
// Extension lookups of type 9) that the "kern" feature of a script's default language system
// uses; when no script names a "kern" feature, every "kern" feature's lookups count. Lookups are
// applied in lookup-list order and their amounts add up, as a shaper does; within one lookup the
// first subtable that applies to a pair decides it: a format 1 subtable applies to the pairs it
// lists, a format 2 subtable that covers the first glyph to every pair of it, class 0 of the
// second glyph included, so later subtables are not consulted for that first glyph. Only pairs of
// glyphs in `wanted` are produced, sorted by first then second glyph, each once, none with amount
// 0, at most maxPairs of them. A damaged table yields what its sound parts give; nothing is read
// outside `gpos`, and the walk gives up after maxVisits pairs looked at (real fonts stay far below
// the default, while a damaged class table can pair every glyph with every other one in each of
// many subtables).
[[nodiscard]] std::vector<GlyphKerningPair>
ReadGposKerning(std::span<const std::uint8_t> gpos, const GlyphSet& wanted,
                std::size_t maxPairs = MaxGlyphKerningPairs,
                std::size_t maxVisits = MaxGposPairVisits);

} // namespace glyfora::fontimport
