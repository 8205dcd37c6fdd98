#pragma once

#include "document/Image.h"
#include "document/ImportOptions.h"
#include "import/GlyphSource.h"
#include "import/TextDrawingContext.h"

#include <cstdint>
#include <optional>
#include <string>

namespace glyfora::fontimport {

using document::GlyphEffects;

// How many whole pixels an effect's ink reaches beyond the glyph's own ink on each side: what
// every cell grows by, so that the glyph's body stays where the import without effects draws it.
struct EffectReach {
    std::int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};
[[nodiscard]] EffectReach ReachOf(const GlyphEffects& effects);

// Whether glyphs are drawn through PaintGlyph. A fill colour alone is not: it is drawn as text is
// drawn, so that white gives exactly the plain import.
[[nodiscard]] bool PaintsGlyphs(const GlyphEffects& effects);

// Why these effects cannot be imported together (a distance field with an outline, a shadow or a
// coloured fill), or nothing.
[[nodiscard]] std::optional<std::string> EffectsConflict(const GlyphEffects& effects);

// The font's line box a glyph is drawn in, in the picture's rows: the gradient spans it.
struct LineBox {
    double Top = 0.0, Height = 0.0;
};

// A glyph's pixels with its effects, placed in the picture's grid.
struct GlyphPaint {
    std::int64_t Left = 0, Top = 0;
    document::Image Pixels;      // empty when the glyph left nothing to draw
    bool DistanceValues = false; // a distance field: overlapping fields join by their maximum
};

// The glyph's coverage (and, for a sharp outline, the coverage of its stroked outline shape)
// turned into pixels: shadow, then outline, then fill on top, in straight alpha; or, with a
// distance field, R = G = B = A = the signed distance, 128 at the edge, the spread mapped to the
// full range. The paint reaches ReachOf beyond coverage, clipped to a picture of the given size.
[[nodiscard]] GlyphPaint PaintGlyph(const Coverage& coverage, const Coverage& stroke,
                                    const GlyphEffects& effects, const CoverageAlphaRule& alpha,
                                    LineBox line, std::int64_t pictureWidth,
                                    std::int64_t pictureHeight);

// PaintGlyph over what a source rasterised, in the line box that starts at the ink's y and is
// lineHeight tall.
[[nodiscard]] GlyphPaint PaintInk(const GlyphInk& ink, const GlyphEffects& effects,
                                  const CoverageAlphaRule& alpha, double lineHeight,
                                  std::int64_t pictureWidth, std::int64_t pictureHeight);

// Draws paint onto picture: source-over, or for distance values the larger of the two.
void DrawPaint(document::Image& picture, const GlyphPaint& paint);

// The box of the paint's pixels in the picture's grid.
[[nodiscard]] document::Rect64 PaintBox(const GlyphPaint& paint);

} // namespace glyfora::fontimport
