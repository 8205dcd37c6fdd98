#include "import/GlyphCropping.h"

#include <algorithm>

namespace glyfora::fontimport {

namespace {

// Ink beyond the advance box and line box rarely reaches a quarter em; a glyph whose ink touches
// the scratch's edge is drawn again with twice the room, up to a room no sane font needs. Only a
// part of a glyph that lies wholly more than the first room away, apart from the rest, would go
// unseen.
std::int64_t FirstMargin(const ImportOptions& options) {
    return options.Size + 4;
}
constexpr std::int64_t MaxMargin = 2048;

} // namespace

GlyphCropper::GlyphCropper(GlyphSource& source, const ImportOptions& options)
    : source_(source), options_(options) {
    scratch_ = {1, 1, {TransparentWhite}};
    dirty_ = {0, 0, 1, 1};
    open_ = source_.Begin(scratch_, options_);
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
    InkBox ink = Draw(glyph, margin);
    while (!ink.Empty() && margin < MaxMargin &&
           (ink.Left == 0 || ink.Top == 0 || ink.Right == scratch_.Width ||
            ink.Bottom == scratch_.Height)) {
        margin *= 2;
        ink = Draw(glyph, margin);
    }
    return CutCell(ink, margin);
}

GlyphCropper::InkBox GlyphCropper::Draw(const RowGlyph& glyph, std::int64_t margin) {
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
    source_.Composite(drawn, OpaqueWhite);
    // A source that rasterises says where it drew; one that only draws may have drawn anywhere.
    const Coverage& mask = drawn.Mask;
    dirty_ = mask.Width > 0 && mask.Height > 0
                 ? InkBox{mask.Left, mask.Top, mask.Left + mask.Width, mask.Top + mask.Height}
                 : InkBox{0, 0, scratch_.Width, scratch_.Height};
    return FindInk();
}

void GlyphCropper::PrepareScratch(std::int64_t width, std::int64_t height) {
    if (width > scratch_.Width || height > scratch_.Height) {
        // A larger room than a glyph asks for only keeps more of its surroundings clear.
        scratch_.Width = std::max(width, scratch_.Width);
        scratch_.Height = std::max(height, scratch_.Height);
        scratch_.Pixels.assign(static_cast<std::size_t>(scratch_.Width * scratch_.Height),
                               TransparentWhite);
    } else {
        for (std::int64_t y = dirty_.Top; y < dirty_.Bottom; ++y) {
            std::uint32_t* row = &scratch_.At(0, y);
            std::fill(row + dirty_.Left, row + dirty_.Right, TransparentWhite);
        }
    }
    dirty_ = {};
}

GlyphCropper::InkBox GlyphCropper::FindInk() const {
    InkBox ink{scratch_.Width, scratch_.Height, 0, 0};
    const auto inked = [](std::uint32_t pixel) { return (pixel >> 24) != 0; };
    for (std::int64_t y = dirty_.Top; y < dirty_.Bottom; ++y) {
        const std::uint32_t* row =
            scratch_.Pixels.data() + static_cast<std::size_t>(y * scratch_.Width + dirty_.Left);
        const std::uint32_t* end = row + (dirty_.Right - dirty_.Left);
        // Most rows are empty; a plain OR over them is far quicker than searching.
        std::uint32_t any = 0;
        for (const std::uint32_t* pixel = row; pixel != end; ++pixel) {
            any |= *pixel;
        }
        if (!inked(any)) {
            continue;
        }
        const std::uint32_t* first = std::find_if(row, end, inked);
        const std::uint32_t* last =
            std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first), inked)
                .base();
        ink.Left = std::min(ink.Left, dirty_.Left + (first - row));
        ink.Right = std::max(ink.Right, dirty_.Left + (last - row));
        ink.Top = std::min(ink.Top, y);
        ink.Bottom = y + 1;
    }
    return ink;
}

CroppedGlyph GlyphCropper::CutCell(const InkBox& ink, std::int64_t margin) const {
    if (ink.Empty()) {
        return {};
    }
    const std::int64_t left = ink.Left - options_.PaddingLeft;
    const std::int64_t top = ink.Top - options_.PaddingTop;
    const std::int64_t right = ink.Right + options_.PaddingRight;
    const std::int64_t bottom = ink.Bottom + options_.PaddingBottom;
    if (right <= left || bottom <= top) {
        return {};
    }
    CroppedGlyph glyph;
    glyph.Cell = {right - left, bottom - top,
                  std::vector<std::uint32_t>(
                      static_cast<std::size_t>((right - left) * (bottom - top)), TransparentWhite)};
    // Paddings reach beyond the scratch only where it holds no ink.
    for (std::int64_t y = std::max<std::int64_t>(top, 0); y < std::min(bottom, scratch_.Height);
         ++y) {
        for (std::int64_t x = std::max<std::int64_t>(left, 0); x < std::min(right, scratch_.Width);
             ++x) {
            glyph.Cell.At(x - left, y - top) = scratch_.At(x, y);
        }
    }
    // The row cell's corner lies margin - padding from the scratch's.
    glyph.X = left - (margin - options_.PaddingLeft);
    glyph.Y = top - (margin - options_.PaddingTop);
    return glyph;
}

} // namespace glyfora::fontimport
