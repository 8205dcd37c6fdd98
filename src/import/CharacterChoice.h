#pragma once

#include "base/Result.h"
#include "import/FontServices.h"
#include "import/GlyphPacking.h"
#include "import/ImportOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::fontimport {

// A font's family and the codes it covers.
struct FontCoverage {
    std::string Family;
    // Ascending, as FaceCharacterRanges gives them; for a character list, only the listed codes
    // need to be in them.
    std::vector<CharacterRange> Ranges;
};

// Whether the ascending ranges hold code.
[[nodiscard]] bool RangesCover(const std::vector<CharacterRange>& ranges, std::uint32_t code);

struct CharacterChoice {
    std::vector<std::uint16_t> Codes;   // ascending
    std::vector<std::string> Fallbacks; // the fallbacks that draw at least one code, in order
    std::vector<std::string> Warnings;  // what was left out, with a count and the first few codes
};

// The codes an import takes. With a list (ascending, distinct): the listed codes that the main
// font or a fallback covers, each drawn by the first of them that covers it; codes above 0xFFFF
// and codes no font covers are left out with a warning. Without one: every code the fonts cover,
// only those up to 255 unless unicode.
[[nodiscard]] CharacterChoice
ChooseCharacters(const std::optional<std::vector<std::uint32_t>>& listed, bool unicode,
                 const FontCoverage& main, const std::vector<FontCoverage>& fallbacks);

// What the font services answer for the options: the chosen codes (see ChooseCharacters), the
// main font's kerning pairs (with a list only those whose sides are both taken), the fallbacks
// used and the warnings. A fallback family that is not installed is left out with a warning.
// Fails when the character list cannot be read.
[[nodiscard]] base::Result<FontImportInput>
ReadFontImportInput(const platform::GraphicsLibrary& graphics, const ImportOptions& options);

} // namespace glyfora::fontimport
