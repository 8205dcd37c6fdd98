// Feeds arbitrary bytes to the font services as a font file: FreeType walks the sfnt table
// directory, and the coverage, the kerning pairs (GPOS and `kern` tables) and the line metrics
// are read from what it finds. Coverage must come out as ascending disjoint ranges, pairs sorted
// and unique, metrics finite.
#include "import/FontMetrics.h"
#include "import/FontServices.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace glyfora;

// FreeType alone: the font readers need no font matching.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0) {
            std::abort();
        }
        return made;
    }();
    return library;
}

void CheckRanges(const std::vector<fontimport::CharacterRange>& ranges) {
    std::uint64_t end = 0;
    for (const auto& range : ranges) {
        if (range.Count == 0 || (&range != ranges.data() && range.First <= end)) {
            std::abort();
        }
        end = std::uint64_t{range.First} + range.Count;
    }
}

void CheckPairs(const std::vector<fontimport::FontKerningPair>& pairs) {
    for (std::size_t i = 1; i < pairs.size(); ++i) {
        const auto& a = pairs[i - 1];
        const auto& b = pairs[i];
        if (a.First > b.First || (a.First == b.First && a.Second >= b.Second)) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy exactly as long as the input, so that a read past its end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(Library(), bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &face) !=
        0) {
        return 0;
    }
    CheckRanges(fontimport::FaceCharacterRanges(face));
    CheckPairs(fontimport::FaceKerningPairs(face, 64));
    // A character list's reads: looked-up codes in any order, some repeated.
    const std::vector<std::uint16_t> listed{'V', 'A', 0x4E00, 'A', 0xF041, 0xFFFF, 0};
    CheckRanges(fontimport::FaceListedCharacterRanges(face, {listed.begin(), listed.end()}));
    CheckPairs(fontimport::FaceKerningPairsAmong(face, 64, listed));
    const fontimport::LineMetrics line = fontimport::FaceLineMetrics(face);
    if (!std::isfinite(line.Ascent) || !std::isfinite(line.LineSpacing)) {
        std::abort();
    }
    FT_Done_Face(face);
    return 0;
}
