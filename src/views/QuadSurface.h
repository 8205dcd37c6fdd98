#pragma once

#include "document/Image.h"
#include "document/Typeface.h"

#include <array>
#include <cstdint>

namespace glyfora::views {

// Blending factors, numbered as the example screen's callers use them. The colour channels are
// blended with the chosen pair; the alpha channel always blends as source alpha over destination
// (one, one minus source alpha), so an opaque target stays opaque.
enum class BlendFactor : int {
    Zero = 0,
    One = 1,
    SourceColour = 2,
    OneMinusSourceColour = 3,
    DestinationColour = 4,
    OneMinusDestinationColour = 5,
    SourceAlpha = 6,
    OneMinusSourceAlpha = 7,
    DestinationAlpha = 8,
    OneMinusDestinationAlpha = 9,
};

// True for the factors above; a number cast to a BlendFactor may be none of them.
[[nodiscard]] constexpr bool IsBlendFactor(BlendFactor factor) {
    return factor >= BlendFactor::Zero && factor <= BlendFactor::OneMinusDestinationAlpha;
}

// Opacity that leaves the sprite's alpha unchanged, and the tint value that means "no tint".
constexpr std::int64_t FullOpacity = 255;
constexpr std::int64_t NoTint = -1;

// One destination corner in surface pixels, with its depth. Depths only matter relative to each
// other: equal depths give an affine mapping, differing depths a perspective-correct one.
struct QuadCorner {
    float X = 0.0F;
    float Y = 0.0F;
    float W = 1.0F;
    friend bool operator==(const QuadCorner&, const QuadCorner&) = default;
};

// Corners in the order top-left, top-right, bottom-right, bottom-left of the source rectangle.
using GlyphQuad = std::array<QuadCorner, 4>;

// Where the example text goes: a target that clears, blends and draws textured quads. Both the
// OpenGL screen and the software surface implement it; keep it this small.
class QuadSurface {
public:
    virtual ~QuadSurface() = default;

    // Fills the whole target with an opaque colour 0xBBGGRR.
    virtual void Clear(std::uint32_t colour) = 0;

    // Sets the factors for the following draws; a pair holding anything but a BlendFactor is
    // ignored.
    virtual void SetBlendMode(BlendFactor sourceFactor, BlendFactor destinationFactor) = 0;

    // Maps the integer source rectangle of sprite onto the four corners (corner i gets the source
    // rectangle's corner i) and blends it in. opacity 0..255 multiplies the sprite's alpha (values
    // outside are clamped); tint NoTint keeps the sprite's colours, any other value replaces them
    // with the colour 0xBBGGRR (its low 24 bits) and keeps the alpha. Empty source rectangles and
    // missing sprites draw nothing.
    virtual void DrawQuad(const document::Sprite& sprite, const document::Rect64& source,
                          const GlyphQuad& corners, std::int64_t opacity, std::int64_t tint) = 0;

    // From the next draw on, a positive screenPxRange reads each sprite's alpha as a signed
    // distance field (128 at the edge) the way engines draw one: the alpha is sampled bilinearly
    // at the pixel centre (the four texels clamped to the source rectangle, transparent outside
    // the sprite) and becomes opacity = clamp(screenPxRange × (alpha / 255 − 0.5) + 0.5, 0, 1);
    // the colour is white or the tint. 0 (or anything not positive) draws texels as they are.
    virtual void SetDistanceDecoding(float screenPxRange) = 0;
};

} // namespace glyfora::views
