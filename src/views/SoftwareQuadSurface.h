#pragma once

#include "views/QuadSurface.h"

#include <cstdint>

namespace glyfora::views {

// A QuadSurface that draws into an RGBA image, for the command-line renderer, for tests and for
// platforms without OpenGL.
//
// Coverage: a quad is drawn as the two triangles (c0, c1, c2) and (c0, c2, c3). A pixel is covered
// when its centre (x + 0.5, y + 0.5) lies inside a triangle; a centre exactly on an edge belongs to
// the triangle for which that edge is a top or a left edge, so triangles and quads that share an
// edge cover each pixel exactly once. Both windings are drawn (no culling). Quads with a corner
// that is not finite are not drawn.
//
// Sampling: the source rectangle's corners go to c0..c3 (top-left, top-right, bottom-right,
// bottom-left); the texture position at a pixel centre is interpolated, perspective-correct when
// the corner depths differ (all depths must be finite, non-zero and of one sign; otherwise the
// mapping is affine). The texel is the one containing that position (nearest neighbour), clamped to
// the source rectangle so that neighbouring cells never bleed in; texels outside the sprite are
// transparent. A distance field is sampled bilinearly instead (see QuadSurface).
//
// Blending: colour channels use the factors set by SetBlendMode (default source alpha, one minus
// source alpha) on straight, non-premultiplied 8-bit values, rounded to nearest and clamped to 255;
// the alpha channel is source alpha + destination alpha × (1 − source alpha).
class SoftwareQuadSurface final : public QuadSurface {
public:
    // A surface of width × height pixels, opaque black; an empty one when the size is not allowed.
    SoftwareQuadSurface(std::int64_t width, std::int64_t height);

    void Clear(std::uint32_t colour) override;
    void SetBlendMode(BlendFactor sourceFactor, BlendFactor destinationFactor) override;
    void DrawQuad(const document::Sprite& sprite, const document::Rect64& source,
                  const GlyphQuad& corners, std::int64_t opacity, std::int64_t tint) override;
    void SetDistanceDecoding(float screenPxRange) override;

    // What has been drawn so far.
    document::Image Target;

private:
    BlendFactor sourceFactor_ = BlendFactor::SourceAlpha;
    BlendFactor destinationFactor_ = BlendFactor::OneMinusSourceAlpha;
    double screenPxRange_ = 0.0;
};

} // namespace glyfora::views
