#pragma once

#include <cstdint>

namespace glyfora::document {

// How the corners of an outline are drawn: Round follows the glyph at the same distance
// everywhere; Sharp keeps the glyph's corners pointed (mitred).
enum class OutlineJoin { Round, Sharp };

// What the import adds to every glyph's pixels for games: an outline, a shadow (a glow is a
// shadow without offset but with a blur), the fill's colour or a vertical gradient, or instead of
// all of them a signed distance field. All are off by default, so a plain import draws white
// glyphs whose shape lives in the alpha channel. Colours are 0xAABBGGRR like the pictures'.
struct GlyphEffects {
    double OutlineWidth = 0.0; // pixels, 0..32, fractions allowed; 0: no outline
    std::uint32_t OutlineColour = 0xFF000000;
    OutlineJoin Join = OutlineJoin::Round;
    bool Shadow = false;
    std::int64_t ShadowX = 0, ShadowY = 0;   // pixels right and down, -32..32
    double ShadowBlur = 0.0;                 // Gaussian blur radius in pixels, 0..32
    std::uint32_t ShadowColour = 0x99000000; // black at 60%
    std::uint32_t FillColour = 0xFFFFFFFF;
    // A fill from GradientTop at the top of the font's line box to GradientBottom at its bottom,
    // the same for every glyph; replaces FillColour.
    bool Gradient = false;
    std::uint32_t GradientTop = 0xFFFFFFFF;
    std::uint32_t GradientBottom = 0xFF000000;
    // A signed distance field instead of coverage; refused together with the effects above.
    bool DistanceField = false;
    std::int64_t DistanceSpread = 4; // pixels from the edge to the field's ends, 1..32

    bool operator==(const GlyphEffects&) const = default;
};

constexpr double MaxOutlineWidth = 32.0;
constexpr std::int64_t MaxShadowOffset = 32;
constexpr double MaxShadowBlur = 32.0;
constexpr std::int64_t MinDistanceSpread = 1;
constexpr std::int64_t MaxDistanceSpread = 32;

} // namespace glyfora::document
