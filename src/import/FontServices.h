#pragma once

#include "import/SfntReading.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

typedef struct FT_FaceRec_* FT_Face;

namespace glyfora::platform {
struct GraphicsLibrary;
}

namespace glyfora::fontimport {

// Font type bits of a family entry, with the values the desktop font services give them.
constexpr std::int64_t RasterFontType = 1;
constexpr std::int64_t DeviceFontType = 2; // no font here is a printer-resident one
constexpr std::int64_t TrueTypeFontType = 4;

struct FontFamilyEntry {
    std::string Name;
    std::int64_t FontType = 0;
};

// The type of a fontconfig font format: TrueType for sfnt outlines (TrueType, CFF, Type 42),
// raster for bitmap formats (PCF, BDF, Windows FNT), 0 for other outline formats (Type 1, PFR).
[[nodiscard]] std::int64_t FontTypeFromFormat(std::string_view fontFormat);

// Order 1: by name ascending, letter case ignored (names that differ only in case keep their
// order); order 2: by font type ascending, stable; any other order leaves the list as it is.
void SortFontFamilies(std::vector<FontFamilyEntry>& families, std::int64_t order);

// Rebuilds families from the installed fonts that fontconfig knows. Each font contributes its
// English family names (a font named in several languages otherwise its first name), so that the
// style-named families such as "DejaVu Sans Condensed" are listed as well as "DejaVu Sans". A name
// is listed once (compared as fontconfig compares families: ignoring case and blanks), with the
// highest type among its fonts. False, with an empty list, when fontconfig cannot list fonts.
[[nodiscard]] bool EnumerateFontFamilies(std::int64_t order,
                                         std::vector<FontFamilyEntry>& families);

// A run of consecutive character codes.
struct CharacterRange {
    std::uint32_t First = 0;
    std::uint32_t Count = 0;
};

// Ascending, non-overlapping ranges covering the given codes (in any order, repeats allowed).
[[nodiscard]] std::vector<CharacterRange>
CharacterRangesFromCodes(std::vector<std::uint32_t> codes);

// The codes of the ranges in their order, each range ascending, codes above 0xFFFF left out.
[[nodiscard]] std::vector<std::uint16_t>
ExpandCharacterRanges(const std::vector<CharacterRange>& ranges);

// The character coverage of the regular font of family (size does not change it) as ascending
// ranges, read from the font's Unicode character map (its symbol map when it has none). Empty
// when no font can be opened.
[[nodiscard]] std::vector<CharacterRange>
ReadFontCharacterRanges(const platform::GraphicsLibrary& graphics, const std::string& family,
                        std::int64_t size);

// The coverage of an opened font face, as ReadFontCharacterRanges reads it.
[[nodiscard]] std::vector<CharacterRange> FaceCharacterRanges(FT_Face face);

// ReadFontCharacterRanges limited to codes (in any order, repeats allowed): each code is looked up
// in the character map, which for a short list is far quicker than walking a map of tens of
// thousands of codes, as CJK fonts have.
[[nodiscard]] std::vector<CharacterRange>
ReadListedCharacterRanges(const platform::GraphicsLibrary& graphics, const std::string& family,
                          const std::vector<std::uint32_t>& codes);

// The coverage of an opened font face among codes, as ReadListedCharacterRanges reads it.
[[nodiscard]] std::vector<CharacterRange>
FaceListedCharacterRanges(FT_Face face, const std::vector<std::uint32_t>& codes);

// The covered codes below 0x10000 in ascending order.
[[nodiscard]] std::vector<std::uint16_t>
ReadFontCharacters(const platform::GraphicsLibrary& graphics, const std::string& family,
                   std::int64_t size);

struct FontKerningPair {
    std::uint16_t First = 0;
    std::uint16_t Second = 0;
    std::int32_t Amount = 0;
};

// designUnits at an em of size pixels: rounded to the nearest pixel, halves away from zero.
[[nodiscard]] std::int32_t ScaleKerningAmount(std::int64_t designUnits, std::int64_t size,
                                              std::int64_t unitsPerEm);

// Both lists sorted by glyphs; the result holds every pair of `preferred` and the pairs of
// `other` that `preferred` lacks, sorted.
[[nodiscard]] std::vector<GlyphKerningPair>
MergeGlyphKerningPairs(const std::vector<GlyphKerningPair>& preferred,
                       const std::vector<GlyphKerningPair>& other);

// Turns glyph pairs in design units into character pairs in pixels of an em of size pixels.
// glyphCodes holds (glyph, code) for every code the character map sends to a glyph; a glyph
// reached from several codes gives a pair for each. Pairs that round to 0 are kept; the result
// is sorted by first then second code.
[[nodiscard]] std::vector<FontKerningPair>
KerningPairsFromGlyphPairs(const std::vector<GlyphKerningPair>& pairs,
                           std::vector<std::pair<std::uint16_t, std::uint16_t>> glyphCodes,
                           std::int64_t size, std::int64_t unitsPerEm);

// The kerning pairs of the regular font of family, in pixels of an em of size pixels, sorted by
// first then second code, codes below 0x10000. Pairs come from GPOS pair positioning (see
// ReadGposKerning) and from the legacy `kern` table; where both define a pair, GPOS decides, as
// it is the table that current text shapers apply. Empty when no font can be opened.
[[nodiscard]] std::vector<FontKerningPair>
ReadFontKerningPairs(const platform::GraphicsLibrary& graphics, const std::string& family,
                     std::int64_t size);

// The kerning pairs of an opened font face, as ReadFontKerningPairs reads them.
[[nodiscard]] std::vector<FontKerningPair> FaceKerningPairs(FT_Face face, std::int64_t size);

// The pairs of ReadFontKerningPairs whose two codes are both among codes (in any order, repeats
// allowed), read for those codes' glyphs alone: a character list takes few of a font's pairs, and
// expanding all of them costs more than the rest of reading the list's fonts.
[[nodiscard]] std::vector<FontKerningPair>
ReadKerningPairsAmong(const platform::GraphicsLibrary& graphics, const std::string& family,
                      std::int64_t size, std::span<const std::uint16_t> codes);

// The kerning pairs of an opened font face among codes, as ReadKerningPairsAmong reads them.
[[nodiscard]] std::vector<FontKerningPair>
FaceKerningPairsAmong(FT_Face face, std::int64_t size, std::span<const std::uint16_t> codes);

} // namespace glyfora::fontimport
