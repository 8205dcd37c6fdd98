#include "import/CompactDrawing.h"

#include "document/SkylinePacking.h"
#include "import/GlyphCropping.h"
#include "import/GlyphEffects.h"
#include "import/OrderedWork.h"

#include <algorithm>
#include <memory>

namespace glyfora::fontimport {

namespace {

const ImportStop TooManyPixels{ImportEnd::Failed,
                               "The compact character-set image would be larger than an image may "
                               "hold: its cells alone take more pixels; choose a smaller size or "
                               "fewer characters."};

// Every glyph cropped, on one cropper per worker; the cells are kept until all are packed.
Staged<std::vector<CroppedGlyph>> CropGlyphs(const MeasuredGlyphs& measured,
                                             const document::PackedCells& rows,
                                             const ImportOptions& options,
                                             std::vector<std::unique_ptr<GlyphCropper>>& croppers,
                                             const PassProgress& progress) {
    const auto count = std::ssize(measured.Glyphs);
    std::vector<CroppedGlyph> glyphs(measured.Glyphs.size());
    // The row layout draws each glyph inside its cell, beyond the effects' reach.
    const std::int64_t reach = ReachOf(options.Effects).Left;
    std::uint64_t cellPixels = 0;
    bool fits = true; // the cells so far could fit one picture
    OrderedWork work;
    work.Count = count;
    work.Workers = std::ssize(croppers);
    work.Window = std::max<std::int64_t>(count, 1);
    work.Produce = [&](std::int64_t worker, std::int64_t index, std::int64_t) {
        const auto i = static_cast<std::size_t>(index);
        const MeasuredGlyph& glyph = measured.Glyphs[i];
        glyphs[i] = croppers[static_cast<std::size_t>(worker)]->Crop(
            {glyph.Code, glyph.Advance, glyph.LineHeight, rows.Corners[i].X + reach});
    };
    work.Consume = [&](std::int64_t index, std::int64_t) {
        const document::Image& cell = glyphs[static_cast<std::size_t>(index)].Cell;
        fits = fits && document::CountCellPixels(cellPixels, {cell.Width, cell.Height});
    };
    work.Report = [&](std::int64_t done) { return fits && progress.Report(done); };
    if (!RunInOrder(work)) {
        return fits ? CancelledImport() : TooManyPixels;
    }
    return glyphs;
}

// The cropped cells copied into a picture at their packed corners.
Staged<DrawnGlyphs> ComposeCells(const std::vector<CroppedGlyph>& glyphs,
                                 const document::PackedCells& packed) {
    auto picture = document::MakeImage(std::max<std::int64_t>(packed.Width, 1),
                                       std::max<std::int64_t>(packed.Height, 1), TransparentWhite);
    if (!picture) {
        return ImportStop{ImportEnd::Failed, "The compact character-set image would be larger "
                                             "than an image may hold."};
    }
    DrawnGlyphs drawn;
    drawn.Glyphs.reserve(glyphs.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const document::Image& cell = glyphs[i].Cell;
        const document::CellCorner corner = packed.Corners[i];
        drawn.Glyphs.push_back(
            {{corner.X, corner.Y, cell.Width, cell.Height}, glyphs[i].X, glyphs[i].Y});
        document::CopyRect(cell, {0, 0, cell.Width, cell.Height}, *picture, corner.X, corner.Y);
    }
    drawn.Picture = std::move(*picture);
    return drawn;
}

} // namespace

Staged<DrawnGlyphs> DrawCompactly(const MeasuredGlyphs& measured, const document::PackedCells& rows,
                                  const ImportOptions& options,
                                  std::span<GlyphSource* const> sources,
                                  const PassProgress& progress) {
    std::vector<std::unique_ptr<GlyphCropper>> croppers;
    for (GlyphSource* source : sources) {
        auto cropper = std::make_unique<GlyphCropper>(*source, options);
        if (cropper->Ready()) {
            croppers.push_back(std::move(cropper));
        }
    }
    if (croppers.empty()) {
        return ImportStop{ImportEnd::Failed,
                          "The glyphs cannot be drawn: the text rasteriser stopped."};
    }
    // The paddings leave no row cell, so nothing to crop either; the row layout refuses it too.
    if (rows.Height <= 0) {
        return ImportStop{ImportEnd::Failed, "The character-set image would be empty (" +
                                                 std::to_string(rows.Width) +
                                                 " x 0 pixels); check the size and the paddings."};
    }
    const Staged<std::vector<CroppedGlyph>> glyphs =
        CropGlyphs(measured, rows, options, croppers, progress);
    if (!glyphs) {
        return glyphs.Stop;
    }
    croppers.clear();
    std::vector<document::CellSize> cells;
    cells.reserve(glyphs.Value->size());
    for (const CroppedGlyph& glyph : *glyphs.Value) {
        cells.push_back({glyph.Cell.Width, glyph.Cell.Height});
    }
    const base::Result<document::PackedCells> packed = document::PackCells(
        cells, {options.Gutter, options.MaxWidth, options.PowerOfTwo, options.Pages});
    if (!packed) {
        return ImportStop{ImportEnd::Failed,
                          "The compact character-set image cannot be made: " + packed.Error + "."};
    }
    return ComposeCells(*glyphs.Value, *packed.Value);
}

} // namespace glyfora::fontimport
