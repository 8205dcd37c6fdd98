#include "import/ImportPreview.h"

#include "document/Pixel.h"
#include "import/GlyphEffects.h"

namespace glyfora::fontimport {

namespace {

// The text with its effects, the fill's colour (white by default) kept; the gradient spans the
// text's line box.
void DrawWithEffects(TextDrawingContext& context, document::Image& canvas, float y,
                     std::u16string_view text, const GlyphEffects& effects) {
    const Coverage mask = RenderTextMask(context, 5.0F, y, text);
    const double ascent = MeasureTextAscent(context);
    const Coverage stroke =
        effects.Join == document::OutlineJoin::Sharp
            ? RenderOutlinedMaskOnBaseline(context, 5.0F, y, ascent, effects.OutlineWidth, text)
            : Coverage{};
    const LineBox line{y, MeasureTextHeight(context, text)};
    GlyphPaint paint = PaintGlyph(mask, stroke, effects, CompositingAlphaRule(context), line,
                                  canvas.Width, canvas.Height);
    // A field over the opaque background shows its values as they are, not joined with it.
    paint.DistanceValues = false;
    DrawPaint(canvas, paint);
}

} // namespace

bool DrawImportPreview(const platform::GraphicsLibrary& graphics, document::Image& canvas,
                       const ImportOptions& options, ColourRGBA background) {
    TextDrawingContext context(graphics);
    if (!BeginTextDrawing(context, canvas)) {
        return false;
    }
    ApplyImportOptions(context, options);
    ClearDrawing(context, document::Opaque(background));
    const GlyphEffects& effects = options.Effects;
    if (PaintsGlyphs(effects)) {
        DrawWithEffects(context, canvas, 5.0F, u"ABC", effects);
        DrawWithEffects(context, canvas, 55.0F, u"abc", effects);
    } else {
        // A plain white fill would vanish on the background; black shows the shapes.
        const ColourRGBA colour =
            effects.FillColour == 0xFFFFFFFF ? 0xFF000000 : effects.FillColour;
        DrawTextAt(context, 5.0F, 5.0F, u"ABC", colour);
        DrawTextAt(context, 5.0F, 55.0F, u"abc", colour);
    }
    EndTextDrawing(context);
    return true;
}

} // namespace glyfora::fontimport
