#pragma once

#include "document/ImportOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::fontimport {

using document::StyleBold;
using document::StyleItalic;
using document::StyleStrikeOut;
using document::StyleUnderline;

// A font file chosen for a family and style, and what the file itself lacks of that style (to be
// made synthetically).
struct FontFile {
    std::string Path;
    int FaceIndex = 0;
    std::string Family;       // the family fontconfig matched
    bool ExactFamily = false; // false when fontconfig fell back to another family
    bool SynthesizeBold = false;
    bool SynthesizeItalic = false;
    // For a variable font, the design coordinate of each axis in 16.16; empty for its default.
    std::vector<std::int64_t> Coordinates;
};

// The installed font file for family and style bits (only bold and italic matter), or none when
// fontconfig finds nothing at all. A family that is not installed falls back to the generic
// sans-serif family (ExactFamily false).
[[nodiscard]] std::optional<FontFile> MatchFontFile(const std::string& family, std::int64_t style);

} // namespace glyfora::fontimport
