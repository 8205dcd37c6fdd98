#include "import/RowDrawing.h"

#include "import/GlyphEffects.h"
#include "import/GlyphLayout.h"
#include "import/OpenedSources.h"
#include "import/OrderedWork.h"

#include <string>

namespace glyfora::fontimport {

namespace {

// The x at which the row layout draws a glyph of the rounded advance: centred in it when the
// options say so, by half the difference between the rounded and the exact width.
double DrawingX(GlyphSource& source, const ImportOptions& options, std::int64_t cellX,
                const MeasuredGlyph& glyph) {
    double centre = 0.0;
    if (options.Center) {
        centre = (static_cast<double>(glyph.Advance) - source.MeasureWidth(glyph.Code)) / 2.0;
    }
    return static_cast<double>(cellX + options.PaddingLeft) + centre;
}

// Draws every glyph at its corner of the layout, beyond the effects' reach; false when
// cancelled. Effects are painted on the workers and drawn in list order like the plain glyphs.
bool DrawGlyphs(document::Image& picture, const MeasuredGlyphs& measured,
                const document::PackedCells& layout, const ImportOptions& options,
                std::span<GlyphSource* const> sources, const PassProgress& progress) {
    const OpenedSources opened(sources, {&picture, 1}, options);
    if (opened.Empty()) {
        return true;
    }
    opened[0].Clear(TransparentWhite);
    const EffectReach reach = ReachOf(options.Effects);
    const bool paints = PaintsGlyphs(options.Effects);
    const CoverageAlphaRule alpha = opened[0].AlphaRule();
    std::vector<GlyphInk> inks(ResultWindow);
    std::vector<GlyphPaint> painted(ResultWindow);
    OrderedWork work;
    work.Count = std::ssize(measured.Glyphs);
    work.Workers = opened.Count();
    work.Window = ResultWindow;
    work.Produce = [&](std::int64_t worker, std::int64_t index, std::int64_t slot) {
        GlyphSource& source = opened[worker];
        const MeasuredGlyph& glyph = measured.Glyphs[static_cast<std::size_t>(index)];
        const document::CellCorner corner = layout.Corners[static_cast<std::size_t>(index)];
        GlyphInk& ink = inks[static_cast<std::size_t>(slot)];
        ink = source.Rasterise(DrawingX(source, options, corner.X + reach.Left, glyph),
                               static_cast<double>(corner.Y + reach.Top + options.PaddingTop),
                               glyph.Code);
        if (paints) {
            painted[static_cast<std::size_t>(slot)] =
                PaintInk(ink, options.Effects, alpha, static_cast<double>(glyph.LineHeight),
                         picture.Width, picture.Height);
        }
    };
    work.Consume = [&](std::int64_t, std::int64_t slot) {
        if (paints) {
            DrawPaint(picture, painted[static_cast<std::size_t>(slot)]);
            painted[static_cast<std::size_t>(slot)] = {};
        } else {
            opened[0].Composite(inks[static_cast<std::size_t>(slot)], options.Effects.FillColour);
        }
        inks[static_cast<std::size_t>(slot)] = {};
    };
    work.Report = [&progress](std::int64_t done) { return progress.Report(done); };
    return RunInOrder(work);
}

} // namespace

Staged<DrawnGlyphs> DrawRows(const MeasuredGlyphs& measured, const document::PackedCells& layout,
                             const ImportOptions& options, std::span<GlyphSource* const> sources,
                             const PassProgress& progress) {
    const std::string size = std::to_string(layout.Width) + " x " + std::to_string(layout.Height);
    if (layout.Width <= 0 || layout.Height <= 0) {
        return ImportStop{ImportEnd::Failed, "The character-set image would be empty (" + size +
                                                 " pixels); check the size and the paddings."};
    }
    if (!document::ImageSizeAllowed(layout.Width, layout.Height)) {
        return ImportStop{ImportEnd::Failed,
                          "The character-set image would be " + size +
                              " pixels, more than an image may hold; choose a smaller size or "
                              "fewer characters."};
    }
    auto picture = document::MakeImage(layout.Width, layout.Height, 0);
    if (!DrawGlyphs(*picture, measured, layout, options, sources, progress)) {
        return CancelledImport();
    }
    DrawnGlyphs drawn{std::move(*picture), {}};
    const std::vector<document::CellSize> cells = RowCells(measured, options);
    const EffectReach reach = ReachOf(options.Effects);
    drawn.Glyphs.reserve(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const document::CellCorner corner = layout.Corners[i];
        drawn.Glyphs.push_back(
            {{corner.X, corner.Y, cells[i].Width, cells[i].Height}, -reach.Left, -reach.Top});
    }
    return drawn;
}

} // namespace glyfora::fontimport
