#pragma once

#include <cstdint>
#include <optional>

typedef struct FT_FaceRec_* FT_Face;

namespace glyfora::fontimport {

// A font's line box in design units: from the top of a line to its baseline, and from one
// baseline to the next.
struct LineMetrics {
    double Ascent = 0.0;
    double LineSpacing = 0.0;
};

// The Windows vertical metrics of the OS/2 table.
struct WindowsVerticalMetrics {
    std::uint16_t WinAscent = 0;
    std::uint16_t WinDescent = 0;
};

// The vertical metrics of the horizontal header (hhea); Descender is negative below the baseline.
struct HheaVerticalMetrics {
    std::int16_t Ascender = 0;
    std::int16_t Descender = 0;
    std::int16_t LineGap = 0;
};

// The line box as Windows lays out a line: the ascent is usWinAscent, the line spacing
// usWinAscent + usWinDescent plus the external leading
// max(0, lineGap - ((usWinAscent + usWinDescent) - (ascender - descender))). Without OS/2 the
// hhea ascender and ascender - descender + lineGap; none without either table.
[[nodiscard]] std::optional<LineMetrics>
WindowsLineMetrics(const std::optional<WindowsVerticalMetrics>& os2,
                   const std::optional<HheaVerticalMetrics>& hhea);

// WindowsLineMetrics of a FreeType face's tables; for fonts that have neither (Type 1, bitmap
// formats) FreeType's own ascender and line height. Design units.
[[nodiscard]] LineMetrics FaceLineMetrics(FT_Face face);

} // namespace glyfora::fontimport
