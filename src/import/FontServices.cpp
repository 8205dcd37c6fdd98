#include "import/FontServices.h"

#include "base/Utf8.h"
#include "import/FontMatching.h"
#include "import/GposKerning.h"
#include "import/KernTable.h"
#include "platform/GraphicsLibrary.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <limits>
#include <memory>
#include <unordered_map>

namespace glyfora::fontimport {

namespace {

constexpr std::uint32_t LastCode = 0xFFFF;

// How fontconfig tells family names apart: case and blanks do not count.
std::string FamilyKey(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c != ' ') {
            key.push_back(base::AsciiLower(c));
        }
    }
    return key;
}

// Case-insensitive order of UTF-8 names: ASCII letters folded to lower case, everything else by
// code point (UTF-8 byte order is code point order).
bool NameLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(base::AsciiLower(x)) <
               static_cast<unsigned char>(base::AsciiLower(y));
    });
}

struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* objects) const { FcObjectSetDestroy(objects); }
};

// The family names a listed font contributes.
std::vector<std::string> ListedNames(FcPattern* font) {
    std::vector<std::string> english;
    std::string first;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        std::string text = reinterpret_cast<const char*>(name);
        if (i == 0) {
            first = text;
        }
        FcChar8* language = nullptr;
        if (FcPatternGetString(font, FC_FAMILYLANG, i, &language) == FcResultMatch &&
            std::string_view(reinterpret_cast<const char*>(language)) == "en") {
            english.push_back(std::move(text));
        }
    }
    if (english.empty() && !first.empty()) {
        english.push_back(std::move(first));
    }
    return english;
}

struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

// The regular font of family, or none.
Face OpenRegularFace(const platform::GraphicsLibrary& graphics, const std::string& family) {
    if (!graphics.GraphicsLibraryReady || graphics.Library == nullptr) {
        return nullptr;
    }
    const auto file = MatchFontFile(family, 0);
    if (!file) {
        return nullptr;
    }
    FT_Face raw = nullptr;
    if (FT_New_Face(graphics.Library, file->Path.c_str(), file->FaceIndex, &raw) != 0) {
        return nullptr;
    }
    return Face(raw);
}

// Selects the Unicode character map, else the symbol map; false when the face has neither.
bool SelectCodeMap(FT_Face face) {
    return FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0 ||
           FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0;
}

// Calls visit(code, glyph) for every code of the selected character map, ascending.
template <typename Visit> void ForEachCode(FT_Face face, Visit visit) {
    FT_UInt glyph = 0;
    FT_ULong code = FT_Get_First_Char(face, &glyph);
    bool first = true;
    FT_ULong previous = 0;
    while (glyph != 0) {
        if (!first && code <= previous) {
            break; // a damaged map must not make this loop forever
        }
        visit(code, glyph);
        first = false;
        previous = code;
        code = FT_Get_Next_Char(face, code, &glyph);
    }
}

std::vector<std::uint8_t> LoadTable(FT_Face face, FT_ULong tag) {
    FT_ULong length = 0;
    if (!FT_IS_SFNT(face) || FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0) {
        return {};
    }
    std::vector<std::uint8_t> bytes(length);
    if (length == 0 || FT_Load_Sfnt_Table(face, tag, 0, bytes.data(), &length) != 0) {
        return {};
    }
    bytes.resize(length);
    return bytes;
}

// (glyph, code) for codes of the character map.
using GlyphCodes = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

} // namespace

std::int64_t FontTypeFromFormat(std::string_view fontFormat) {
    if (fontFormat == "TrueType" || fontFormat == "CFF" || fontFormat == "Type 42") {
        return TrueTypeFontType;
    }
    if (fontFormat == "PCF" || fontFormat == "BDF" || fontFormat == "Windows FNT") {
        return RasterFontType;
    }
    return 0;
}

void SortFontFamilies(std::vector<FontFamilyEntry>& families, std::int64_t order) {
    if (order == 1) {
        std::stable_sort(families.begin(), families.end(),
                         [](const auto& a, const auto& b) { return NameLess(a.Name, b.Name); });
    } else if (order == 2) {
        std::stable_sort(families.begin(), families.end(),
                         [](const auto& a, const auto& b) { return a.FontType < b.FontType; });
    }
}

bool EnumerateFontFamilies(std::int64_t order, std::vector<FontFamilyEntry>& families) {
    families.clear();
    std::unique_ptr<FcPattern, PatternDeleter> all(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FONTFORMAT, static_cast<char*>(nullptr)));
    if (!all || !objects) {
        return false;
    }
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(FcFontList(nullptr, all.get(), objects.get()));
    if (!fonts) {
        return false;
    }
    std::unordered_map<std::string, std::size_t> indexByKey;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcChar8* format = nullptr;
        const std::int64_t type =
            FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch
                ? FontTypeFromFormat(reinterpret_cast<const char*>(format))
                : 0;
        for (std::string& name : ListedNames(font)) {
            const auto [it, added] = indexByKey.emplace(FamilyKey(name), families.size());
            if (added) {
                families.push_back({std::move(name), type});
            } else {
                families[it->second].FontType = std::max(families[it->second].FontType, type);
            }
        }
    }
    SortFontFamilies(families, order);
    return true;
}

std::vector<CharacterRange> CharacterRangesFromCodes(std::vector<std::uint32_t> codes) {
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    std::vector<CharacterRange> ranges;
    for (const std::uint32_t code : codes) {
        if (!ranges.empty() && ranges.back().First + ranges.back().Count == code) {
            ++ranges.back().Count;
        } else {
            ranges.push_back({code, 1});
        }
    }
    return ranges;
}

std::vector<std::uint16_t> ExpandCharacterRanges(const std::vector<CharacterRange>& ranges) {
    std::vector<std::uint16_t> codes;
    for (const CharacterRange& range : ranges) {
        // 64-bit end: First + Count may pass 32 bits in a damaged list.
        const std::uint64_t end =
            std::min<std::uint64_t>(std::uint64_t{range.First} + range.Count, LastCode + 1);
        for (std::uint64_t code = range.First; code < end; ++code) {
            codes.push_back(static_cast<std::uint16_t>(code));
        }
    }
    return codes;
}

std::vector<CharacterRange> FaceCharacterRanges(FT_Face face) {
    if (!SelectCodeMap(face)) {
        return {};
    }
    std::vector<std::uint32_t> codes;
    ForEachCode(face, [&](FT_ULong code, FT_UInt) {
        if (code <= std::numeric_limits<std::uint32_t>::max()) {
            codes.push_back(static_cast<std::uint32_t>(code));
        }
    });
    return CharacterRangesFromCodes(std::move(codes));
}

std::vector<CharacterRange> ReadFontCharacterRanges(const platform::GraphicsLibrary& graphics,
                                                    const std::string& family, std::int64_t) {
    const Face face = OpenRegularFace(graphics, family);
    return face ? FaceCharacterRanges(face.get()) : std::vector<CharacterRange>{};
}

std::vector<CharacterRange> FaceListedCharacterRanges(FT_Face face,
                                                      const std::vector<std::uint32_t>& codes) {
    if (!SelectCodeMap(face)) {
        return {};
    }
    std::vector<std::uint32_t> covered;
    for (const std::uint32_t code : codes) {
        if (FT_Get_Char_Index(face, code) != 0) {
            covered.push_back(code);
        }
    }
    return CharacterRangesFromCodes(std::move(covered));
}

std::vector<CharacterRange> ReadListedCharacterRanges(const platform::GraphicsLibrary& graphics,
                                                      const std::string& family,
                                                      const std::vector<std::uint32_t>& codes) {
    const Face face = OpenRegularFace(graphics, family);
    return face ? FaceListedCharacterRanges(face.get(), codes) : std::vector<CharacterRange>{};
}

std::vector<std::uint16_t> ReadFontCharacters(const platform::GraphicsLibrary& graphics,
                                              const std::string& family, std::int64_t size) {
    return ExpandCharacterRanges(ReadFontCharacterRanges(graphics, family, size));
}

std::int32_t ScaleKerningAmount(std::int64_t designUnits, std::int64_t size,
                                std::int64_t unitsPerEm) {
    if (unitsPerEm <= 0) {
        return 0;
    }
    // Design amounts are 16-bit sums and sizes small; the product stays far inside 64 bits.
    const std::int64_t product = designUnits * size;
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t rounded = (2 * magnitude + unitsPerEm) / (2 * unitsPerEm);
    const std::int64_t amount = product < 0 ? -rounded : rounded;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(amount, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

std::vector<GlyphKerningPair> MergeGlyphKerningPairs(const std::vector<GlyphKerningPair>& preferred,
                                                     const std::vector<GlyphKerningPair>& other) {
    const auto less = [](const GlyphKerningPair& a, const GlyphKerningPair& b) {
        return a.First != b.First ? a.First < b.First : a.Second < b.Second;
    };
    std::vector<GlyphKerningPair> merged;
    merged.reserve(preferred.size() + other.size());
    std::size_t j = 0;
    for (const GlyphKerningPair& pair : preferred) {
        for (; j < other.size() && less(other[j], pair); ++j) {
            merged.push_back(other[j]);
        }
        if (j < other.size() && !less(pair, other[j])) {
            ++j; // the same pair: the preferred table decides
        }
        merged.push_back(pair);
    }
    merged.insert(merged.end(), other.begin() + static_cast<std::ptrdiff_t>(j), other.end());
    return merged;
}

std::vector<FontKerningPair>
KerningPairsFromGlyphPairs(const std::vector<GlyphKerningPair>& pairs,
                           std::vector<std::pair<std::uint16_t, std::uint16_t>> glyphCodes,
                           std::int64_t size, std::int64_t unitsPerEm) {
    std::sort(glyphCodes.begin(), glyphCodes.end());
    const auto codesOf = [&](std::uint16_t glyph) {
        return std::equal_range(glyphCodes.begin(), glyphCodes.end(),
                                std::pair<std::uint16_t, std::uint16_t>{glyph, 0},
                                [](const auto& a, const auto& b) { return a.first < b.first; });
    };
    std::vector<FontKerningPair> result;
    for (const GlyphKerningPair& pair : pairs) {
        // Kept when it rounds to 0: the pair is the font's, and the user may want to edit it.
        const std::int32_t amount = ScaleKerningAmount(pair.Amount, size, unitsPerEm);
        const auto [firstBegin, firstEnd] = codesOf(pair.First);
        const auto [secondBegin, secondEnd] = codesOf(pair.Second);
        for (auto first = firstBegin; first != firstEnd; ++first) {
            for (auto second = secondBegin; second != secondEnd; ++second) {
                if (result.size() >= MaxGlyphKerningPairs) {
                    break;
                }
                result.push_back({first->second, second->second, amount});
            }
        }
    }
    std::sort(result.begin(), result.end(), [](const auto& a, const auto& b) {
        return a.First != b.First ? a.First < b.First : a.Second < b.Second;
    });
    return result;
}

namespace {

// The kerning pairs of the glyphs of glyphCodes, in pixels of an em of size pixels.
std::vector<FontKerningPair> KerningPairsOfCodes(FT_Face face, std::int64_t size,
                                                 GlyphCodes glyphCodes) {
    GlyphSet wanted(0x10000, false);
    for (const auto& [glyph, code] : glyphCodes) {
        wanted[glyph] = true;
    }
    const auto gpos = LoadTable(face, TTAG_GPOS);
    const auto kern = LoadTable(face, TTAG_kern);
    const auto pairs =
        MergeGlyphKerningPairs(ReadGposKerning(gpos, wanted), ReadKernTable(kern, wanted));
    return KerningPairsFromGlyphPairs(pairs, std::move(glyphCodes), size, face->units_per_EM);
}

} // namespace

std::vector<FontKerningPair> FaceKerningPairs(FT_Face face, std::int64_t size) {
    if (size <= 0 || face->units_per_EM == 0 || !SelectCodeMap(face)) {
        return {};
    }
    GlyphCodes glyphCodes;
    ForEachCode(face, [&](FT_ULong code, FT_UInt glyph) {
        if (code <= LastCode && glyph <= 0xFFFF) {
            glyphCodes.emplace_back(static_cast<std::uint16_t>(glyph),
                                    static_cast<std::uint16_t>(code));
        }
    });
    return KerningPairsOfCodes(face, size, std::move(glyphCodes));
}

std::vector<FontKerningPair> FaceKerningPairsAmong(FT_Face face, std::int64_t size,
                                                   std::span<const std::uint16_t> codes) {
    if (size <= 0 || face->units_per_EM == 0 || !SelectCodeMap(face)) {
        return {};
    }
    GlyphCodes glyphCodes;
    for (const std::uint16_t code : codes) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (glyph != 0 && glyph <= 0xFFFF) {
            glyphCodes.emplace_back(static_cast<std::uint16_t>(glyph), code);
        }
    }
    // A code listed twice must not give its pairs twice.
    std::sort(glyphCodes.begin(), glyphCodes.end());
    glyphCodes.erase(std::unique(glyphCodes.begin(), glyphCodes.end()), glyphCodes.end());
    return KerningPairsOfCodes(face, size, std::move(glyphCodes));
}

std::vector<FontKerningPair> ReadFontKerningPairs(const platform::GraphicsLibrary& graphics,
                                                  const std::string& family, std::int64_t size) {
    const Face face = size > 0 ? OpenRegularFace(graphics, family) : nullptr;
    return face ? FaceKerningPairs(face.get(), size) : std::vector<FontKerningPair>{};
}

std::vector<FontKerningPair> ReadKerningPairsAmong(const platform::GraphicsLibrary& graphics,
                                                   const std::string& family, std::int64_t size,
                                                   std::span<const std::uint16_t> codes) {
    const Face face = size > 0 ? OpenRegularFace(graphics, family) : nullptr;
    return face ? FaceKerningPairsAmong(face.get(), size, codes) : std::vector<FontKerningPair>{};
}

} // namespace glyfora::fontimport
