#include "import/GlyphCropping.h"

#include "import/GlyphEffects.h"

#include <algorithm>

namespace glyfora::fontimport {

namespace {

// Ink beyond the advance box and line box rarely reaches a quarter em; a glyph whose ink touches
// the scratch's edge is drawn again with twice the room, up to a room no sane font needs. Only a
// part of a glyph that lies wholly more than the first room away, apart from the rest, would go
// unseen.
std::int64_t FirstMargin(const ImportOptions& options) {
    const EffectReach reach = ReachOf(options.Effects);
    return options.Size + 4 + std::max({reach.Left, reach.Top, reach.Right, reach.Bottom});
}
constexpr std::int64_t MaxMargin = 2048;

} // namespace

GlyphCropper::GlyphCropper(GlyphSource& source, const ImportOptions& options)
    : source_(source), options_(options) {
    scratch_ = {1, 1, {TransparentWhite}};
    dirty_ = {0, 0, 1, 1};
    open_ = source_.Begin(scratch_, options_);
    if (open_) {
        alpha_ = source_.AlphaRule();
    }
}

GlyphCropper::~GlyphCropper() {
    if (open_) {
        source_.End();
    }
}

CroppedGlyph GlyphCropper::Crop(const RowGlyph& glyph) {
    if (!open_) {
        return {};
    }
    std::int64_t margin = FirstMargin(options_);
    std::optional<document::Rect64> ink = Draw(glyph, margin);
    while (ink && margin < MaxMargin &&
           (ink->X == 0 || ink->Y == 0 || ink->X + ink->Width == scratch_.Width ||
            ink->Y + ink->Height == scratch_.Height)) {
        margin *= 2;
        ink = Draw(glyph, margin);
    }
    return ink ? CutCell(*ink, margin) : CroppedGlyph{};
}

std::optional<document::Rect64> GlyphCropper::Draw(const RowGlyph& glyph, std::int64_t margin) {
    PrepareScratch(std::max<std::int64_t>(glyph.Advance, 0) + 2 * margin,
                   std::max<std::int64_t>(glyph.LineHeight, 0) + 2 * margin);
    double centre = 0.0;
    if (options_.Center) {
        centre = (static_cast<double>(glyph.Advance) - source_.MeasureWidth(glyph.Code)) / 2.0;
    }
    // The row layout hands the rasteriser a float x; that float moved by whole pixels puts the
    // glyph at the very same sub-pixel position here, wherever its row cell was.
    const std::int64_t rowLeft = glyph.CellX + options_.PaddingLeft;
    const auto rowX = static_cast<float>(static_cast<double>(rowLeft) + centre);
    const double x = static_cast<double>(rowX) - static_cast<double>(rowLeft - margin);
    const GlyphInk drawn = source_.Rasterise(x, static_cast<double>(margin), glyph.Code);
    const Coverage& mask = drawn.Mask;
    // A source that rasterises says where it drew; one that only draws may have drawn anywhere.
    dirty_ = mask.Width > 0 && mask.Height > 0
                 ? document::Rect64{mask.Left, mask.Top, mask.Width, mask.Height}
                 : document::Rect64{0, 0, scratch_.Width, scratch_.Height};
    if (PaintsGlyphs(options_.Effects)) {
        const GlyphPaint paint =
            PaintInk(drawn, options_.Effects, alpha_, static_cast<double>(glyph.LineHeight),
                     scratch_.Width, scratch_.Height);
        DrawPaint(scratch_, paint);
        if (paint.Pixels.Width > 0) {
            dirty_ = PaintBox(paint);
        }
    } else {
        source_.Composite(drawn, options_.Effects.FillColour);
    }
    return document::InkBoxOf(scratch_, dirty_);
}

void GlyphCropper::PrepareScratch(std::int64_t width, std::int64_t height) {
    if (width > scratch_.Width || height > scratch_.Height) {
        // A larger room than a glyph asks for only keeps more of its surroundings clear.
        scratch_.Width = std::max(width, scratch_.Width);
        scratch_.Height = std::max(height, scratch_.Height);
        scratch_.Pixels.assign(static_cast<std::size_t>(scratch_.Width * scratch_.Height),
                               TransparentWhite);
    } else {
        for (std::int64_t y = dirty_.Y; y < dirty_.Y + dirty_.Height; ++y) {
            std::uint32_t* row = &scratch_.At(dirty_.X, y);
            std::fill(row, row + dirty_.Width, TransparentWhite);
        }
    }
    dirty_ = {};
}

CroppedGlyph GlyphCropper::CutCell(const document::Rect64& ink, std::int64_t margin) const {
    const std::int64_t left = ink.X - options_.PaddingLeft;
    const std::int64_t top = ink.Y - options_.PaddingTop;
    const std::int64_t right = ink.X + ink.Width + options_.PaddingRight;
    const std::int64_t bottom = ink.Y + ink.Height + options_.PaddingBottom;
    if (right <= left || bottom <= top) {
        return {};
    }
    CroppedGlyph glyph;
    glyph.Cell = {right - left, bottom - top,
                  std::vector<std::uint32_t>(
                      static_cast<std::size_t>((right - left) * (bottom - top)), TransparentWhite)};
    // Paddings reach beyond the scratch only where it holds no ink.
    document::CopyRect(scratch_, {left, top, right - left, bottom - top}, glyph.Cell, 0, 0);
    // The row cell's corner lies margin - padding from the scratch's.
    glyph.X = left - (margin - options_.PaddingLeft);
    glyph.Y = top - (margin - options_.PaddingTop);
    return glyph;
}

} // namespace glyfora::fontimport
