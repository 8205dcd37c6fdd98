#pragma once

#include "document/Typeface.h"
#include "views/QuadSurface.h"

#include <cstdint>
#include <string_view>

namespace glyfora::views {

// Optional arguments left at these values take the typeface's render setting instead.
constexpr std::int64_t DefaultIntegerArgument = -65535;
constexpr float DefaultFloatArgument = -65535.0F;

// Draws text (UTF-16 code units, each one character code; a 0 unit ends the text) with the
// typeface under id, its origin at (x, y) in surface pixels: one quad per character that the
// typeface has, cut from its Sprite, laid out by the typeface's RenderSettings. Draws nothing when
// there is no such typeface or it has no Sprite. Positions are 32-bit floats with double
// intermediates; glyphs whose corners end up not finite, and glyphs clipped away entirely, are
// not drawn. A typeface whose properties name a single-channel distance field ("sdf") is decoded
// by the surface with the field's range times the scale (at least 1) as its screen range; the
// surface draws plainly again afterwards.
void DrawTypefaceText(document::TypefaceRegistry& registry, QuadSurface& surface, std::int64_t id,
                      float x, float y, std::u16string_view text,
                      std::int64_t intensity = DefaultIntegerArgument,
                      std::int64_t tint = DefaultIntegerArgument,
                      float scale = DefaultFloatArgument, float angle = DefaultFloatArgument);

// The width of the widest line and the sum of the line heights of text as DrawTypefaceText lays it
// out. Either output may be null; both become 0 when there is no typeface under id.
void MeasureTypefaceText(document::TypefaceRegistry& registry, std::int64_t id,
                         std::u16string_view text, float* width, float* height,
                         float scale = DefaultFloatArgument);

// The number of code units of the next line of text (the space or line feed that ends it
// included). A line ends after a line feed, at the end of the text, or, once the advance passes
// MaxLineWidth, after the last space seen; a first word wider than that is broken after the last
// character that fits, at least one. width gets the line's advance (before its closing space);
// height the space character's line advance, and is left as it was when the typeface has no space.
// An empty text gives 0 and sets both to 0.
[[nodiscard]] std::int64_t MeasureTypefaceLine(const document::Typeface& typeface,
                                               std::u16string_view text, float scale, float* width,
                                               float* height);

// The corners of a glyph cell at pen position (penX, penY), relative to the origin: the scaled
// cell at pen + offset, its bottom edge moved left by the slant factor (the tangent of the italic
// angle) times its scaled height, its top edge moved right by that share of alignY.
[[nodiscard]] GlyphQuad MakeGlyphQuad(const document::Character& glyph, float penX, float penY,
                                      float scale, float slant, float alignY);

// Bends the quad onto the arc of radius ArcRadius: turns it by a / (ArcRadius - b) about (a, 0)
// and moves it along the circle; a is the pen x after the glyph, b the line's pen y.
void BendQuadOntoArc(const document::Typeface& typeface, GlyphQuad& quad, float a, float b);

// Applies the typeface's projective transform about ProjectionCentre; every corner's depth becomes
// the transform's w (Cd, -1, with the default settings, which leave x and y unchanged).
void ProjectQuad(const document::Typeface& typeface, GlyphQuad& quad);

} // namespace glyfora::views
