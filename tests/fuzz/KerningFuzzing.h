#pragma once

#include "import/SfntReading.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace glyfora::fontimport::fuzzing {

constexpr std::size_t MaxPairs = 1 << 14;

// Every other glyph of the first 512, so that both wanted and unwanted glyphs occur in pairs.
inline GlyphSet WantedGlyphs() {
    GlyphSet wanted(512, false);
    for (std::size_t glyph = 0; glyph < wanted.size(); glyph += 2) {
        wanted[glyph] = true;
    }
    return wanted;
}

// What a kerning table reader promises of its result, whatever the table.
inline void CheckPairs(const std::vector<GlyphKerningPair>& pairs, const GlyphSet& wanted) {
    if (pairs.size() > MaxPairs) {
        std::abort();
    }
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const GlyphKerningPair& pair = pairs[i];
        if (pair.Amount == 0 || pair.First >= wanted.size() || !wanted[pair.First] ||
            pair.Second >= wanted.size() || !wanted[pair.Second]) {
            std::abort();
        }
        if (i > 0 && (pairs[i - 1].First > pair.First ||
                      (pairs[i - 1].First == pair.First && pairs[i - 1].Second >= pair.Second))) {
            std::abort();
        }
    }
}

} // namespace glyfora::fontimport::fuzzing
