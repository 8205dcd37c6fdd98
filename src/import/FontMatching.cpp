#include "import/FontMatching.h"

#include <fontconfig/fontconfig.h>
#include <memory>

namespace glyfora::fontimport {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

std::optional<FontFile> Match(const std::string& family, std::int64_t style) {
    Pattern request(FcPatternCreate());
    if (!request) {
        return std::nullopt;
    }
    FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    const bool bold = (style & StyleBold) != 0;
    const bool italic = (style & StyleItalic) != 0;
    FcPatternAddInteger(request.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(request.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, request.get(), &result));
    if (!match) {
        return std::nullopt;
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
        return std::nullopt;
    }
    FontFile font;
    font.Path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) {
        font.FaceIndex = index;
    }
    // A font may carry several family names (the typographic one and a style-linked one such as
    // "DejaVu Sans Condensed"); any of them names it.
    FcChar8* matchedFamily = nullptr;
    for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &matchedFamily) == FcResultMatch;
         ++i) {
        if (i == 0) {
            font.Family = reinterpret_cast<const char*>(matchedFamily);
        }
        const auto* wanted = reinterpret_cast<const FcChar8*>(family.c_str());
        if (FcStrCmpIgnoreCase(matchedFamily, wanted) == 0) {
            font.Family = reinterpret_cast<const char*>(matchedFamily);
            font.ExactFamily = true;
            break;
        }
    }
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    font.SynthesizeBold = bold && weight < FC_WEIGHT_DEMIBOLD;
    font.SynthesizeItalic = italic && slant == FC_SLANT_ROMAN;
    return font;
}

} // namespace

std::optional<FontFile> MatchFontFile(const std::string& family, std::int64_t style) {
    auto font = Match(family, style);
    if (font && !font->ExactFamily) {
        // fontconfig substitutes by similarity; an unknown family gets the generic sans-serif.
        auto sans = Match("sans-serif", style);
        if (sans) {
            sans->ExactFamily = false;
            return sans;
        }
    }
    return font;
}

} // namespace glyfora::fontimport
