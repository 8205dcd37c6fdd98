#include "import/GlyphLayout.h"

#include "document/RowPacking.h"
#include "import/GlyphEffects.h"

namespace glyfora::fontimport {

namespace {

// Places every cell with packer, which then stands after the last.
std::vector<document::CellCorner> PlaceAll(document::RowPacker& packer,
                                           std::span<const document::CellSize> cells) {
    std::vector<document::CellCorner> corners;
    corners.reserve(cells.size());
    for (const document::CellSize& cell : cells) {
        corners.push_back(document::PlaceCell(packer, cell.Width, cell.Height));
    }
    return corners;
}

} // namespace

std::int64_t RoundUpTo64(std::int64_t value) {
    // Division truncates toward zero, which is the ceiling for negative values.
    return value > 0 ? (value / 64 + (value % 64 != 0 ? 1 : 0)) * 64 : (value / 64) * 64;
}

std::vector<document::CellSize> RowCells(const MeasuredGlyphs& measured,
                                         const ImportOptions& options) {
    const EffectReach reach = ReachOf(options.Effects);
    std::vector<document::CellSize> cells;
    cells.reserve(measured.Glyphs.size());
    for (const MeasuredGlyph& glyph : measured.Glyphs) {
        cells.push_back(
            {glyph.Advance + options.PaddingLeft + options.PaddingRight + reach.Left + reach.Right,
             glyph.LineHeight + options.PaddingTop + options.PaddingBottom + reach.Top +
                 reach.Bottom});
    }
    return cells;
}

document::PackedCells LayOutRows(std::span<const document::CellSize> cells, std::int64_t maxWidth) {
    document::RowPacker rows{maxWidth};
    document::PackedCells placed;
    placed.Corners = PlaceAll(rows, cells);
    placed.Width = maxWidth != 0 ? maxWidth : RoundUpTo64(rows.X);
    placed.Height = RoundUpTo64(document::PackedHeight(rows));
    if (placed.Width != maxWidth) {
        // One row is placed as a picture of its rounded width places it. That is the same row
        // unless cells of negative width (paddings that take more than the glyph) let an earlier
        // cell end beyond the row's end, where such a picture wraps.
        bool wraps = false;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            wraps = wraps || placed.Corners[i].X + cells[i].Width > placed.Width;
        }
        if (wraps) {
            document::RowPacker picture{placed.Width};
            placed.Corners = PlaceAll(picture, cells);
        }
    }
    return placed;
}

} // namespace glyfora::fontimport
