#pragma once

#include "base/Result.h"
#include "import/FontFiles.h"
#include "import/FontServices.h"
#include "import/ImportOptions.h"
#include "platform/GraphicsLibrary.h"

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

// What an import takes from its fonts, the first stage's result: the chosen codes in their order,
// the main font's kerning pairs among them, the fallbacks that draw any of them and what the choice
// left out. Codes above 255 are in it only when the options ask for every code or list them.
struct FontImportInput {
    std::vector<std::uint16_t> Codes;
    std::vector<FontKerningPair> Pairs;
    bool Listed = false; // the codes were chosen by a character list
    // The fallback families that draw codes the main font lacks, in the order they are asked.
    std::vector<std::string> Fallbacks;
    std::vector<std::string> Warnings; // what the choice of codes left out
};

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

// The pairs a font's kerning gives an import without a character list: every pair when unicode,
// else those whose two codes are both at most 255.
[[nodiscard]] std::vector<FontKerningPair> ChooseKerningPairs(std::vector<FontKerningPair> pairs,
                                                              bool unicode);

// What the fonts answer for the options, all read through files: the chosen codes (see
// ChooseCharacters), the main font's kerning pairs (with a list only those whose sides are both
// taken, else as ChooseKerningPairs keeps them), the fallbacks used and the warnings. A fallback
// family that is not installed is left out with a warning. The character list is read here and
// only here. Fails when it cannot be read.
[[nodiscard]] base::Result<FontImportInput>
ReadFontImportInput(FontFiles& files, const platform::GraphicsLibrary& graphics,
                    const ImportOptions& options);

} // namespace glyfora::fontimport
