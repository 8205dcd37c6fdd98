#include "import/FontMetrics.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

namespace glyfora::fontimport {

std::optional<LineMetrics> WindowsLineMetrics(const std::optional<WindowsVerticalMetrics>& os2,
                                              const std::optional<HheaVerticalMetrics>& hhea) {
    // 32-bit sums: 16-bit fields of a damaged font must not wrap.
    const auto hheaHeight = [](const HheaVerticalMetrics& h) {
        return std::int32_t{h.Ascender} - std::int32_t{h.Descender};
    };
    if (os2) {
        const std::int32_t winHeight = std::int32_t{os2->WinAscent} + os2->WinDescent;
        const std::int32_t leading =
            hhea ? std::max(0, std::int32_t{hhea->LineGap} - (winHeight - hheaHeight(*hhea))) : 0;
        return LineMetrics{static_cast<double>(os2->WinAscent),
                           static_cast<double>(winHeight + leading)};
    }
    if (hhea) {
        return LineMetrics{static_cast<double>(hhea->Ascender),
                           static_cast<double>(hheaHeight(*hhea) + hhea->LineGap)};
    }
    return std::nullopt;
}

LineMetrics FaceLineMetrics(FT_Face face) {
    std::optional<WindowsVerticalMetrics> os2;
    std::optional<HheaVerticalMetrics> hhea;
    if (FT_IS_SFNT(face)) {
        // FreeType hands out no OS/2 table (or one of version 0xFFFF) when the font lacks it.
        const auto* os2Table = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2Table != nullptr && os2Table->version != 0xFFFF) {
            os2 = WindowsVerticalMetrics{os2Table->usWinAscent, os2Table->usWinDescent};
        }
        const auto* hheaTable =
            static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
        if (hheaTable != nullptr) {
            hhea =
                HheaVerticalMetrics{hheaTable->Ascender, hheaTable->Descender, hheaTable->Line_Gap};
        }
    }
    if (auto metrics = WindowsLineMetrics(os2, hhea)) {
        return *metrics;
    }
    return {static_cast<double>(face->ascender), static_cast<double>(face->height)};
}

} // namespace glyfora::fontimport
