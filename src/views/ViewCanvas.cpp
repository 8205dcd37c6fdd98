#include "views/ViewCanvas.h"

#include "document/Pixel.h"
#include "views/ViewState.h"

#include <algorithm>
#include <utility>

namespace glyfora::views {
namespace {

// Half-open range [Begin, End) of canvas columns or rows.
struct Span {
    std::int64_t Begin = 0;
    std::int64_t End = 0;
    [[nodiscard]] bool Empty() const { return Begin >= End; }
};

// The range start .. start + length (normalised when length is negative), unclipped.
Span Normalised(std::int64_t start, std::int64_t length) {
    const std::int64_t end = SaturatingAdd(start, length);
    return length < 0 ? Span{end, start} : Span{start, end};
}

Span Clipped(Span span, std::int64_t limit) {
    return {std::max<std::int64_t>(span.Begin, 0), std::min(span.End, limit)};
}

void BlendRun(std::uint32_t* row, std::int64_t begin, std::int64_t end, std::uint32_t colour) {
    const std::uint32_t alpha = document::Alpha(colour);
    if (alpha == 0) {
        return;
    }
    if (alpha == 255) {
        std::fill(row + begin, row + end, colour);
        return;
    }
    // Runs mostly lie over one uniform colour, so one blend serves the whole run.
    std::uint32_t lastDst = row[begin];
    std::uint32_t lastResult = document::BlendSourceOver(colour, lastDst);
    for (std::int64_t x = begin; x < end; ++x) {
        if (row[x] != lastDst) {
            lastDst = row[x];
            lastResult = document::BlendSourceOver(colour, lastDst);
        }
        row[x] = lastResult;
    }
}

void BlendRowSpan(document::Image& canvas, std::int64_t y, Span columns, std::uint32_t colour) {
    if (y < 0 || y >= canvas.Height) {
        return;
    }
    const Span clipped = Clipped(columns, canvas.Width);
    if (clipped.Empty()) {
        return;
    }
    BlendRun(&canvas.At(0, y), clipped.Begin, clipped.End, colour);
}

void BlendColumnSpan(document::Image& canvas, std::int64_t x, Span rows, std::uint32_t colour) {
    if (x < 0 || x >= canvas.Width || document::Alpha(colour) == 0) {
        return;
    }
    const Span clipped = Clipped(rows, canvas.Height);
    for (std::int64_t y = clipped.Begin; y < clipped.End; ++y) {
        canvas.At(x, y) = document::BlendSourceOver(colour, canvas.At(x, y));
    }
}

} // namespace

std::int64_t EffectiveZoom(std::int64_t zoom) {
    return std::clamp<std::int64_t>(zoom, 1, MaxZoom);
}

std::int64_t CanvasSide(std::int64_t side) {
    return std::clamp<std::int64_t>(side, 0, MaxCanvasSide);
}

void ResetCanvas(document::Image& canvas, std::int64_t width, std::int64_t height,
                 std::uint32_t colour) {
    canvas.Width = CanvasSide(width);
    canvas.Height = CanvasSide(height);
    canvas.Pixels.assign(static_cast<std::size_t>(canvas.Width * canvas.Height), colour);
}

void BlendBox(document::Image& canvas, std::int64_t x, std::int64_t y, std::int64_t w,
              std::int64_t h, std::uint32_t colour) {
    const Span columns = Normalised(x, w);
    const Span rows = Clipped(Normalised(y, h), canvas.Height);
    for (std::int64_t row = rows.Begin; row < rows.End; ++row) {
        BlendRowSpan(canvas, row, columns, colour);
    }
}

void BlendOutline(document::Image& canvas, std::int64_t x, std::int64_t y, std::int64_t w,
                  std::int64_t h, std::uint32_t colour) {
    const Span columns = Normalised(x, w);
    const Span rows = Normalised(y, h);
    if (columns.Empty() || rows.Empty()) {
        return;
    }
    const std::int64_t top = rows.Begin;
    const std::int64_t bottom = rows.End - 1;
    const std::int64_t left = columns.Begin;
    const std::int64_t right = columns.End - 1;
    BlendRowSpan(canvas, top, columns, colour);
    if (bottom != top) {
        BlendRowSpan(canvas, bottom, columns, colour);
    }
    // The sides between the top and bottom rows, so that no corner is blended twice.
    const Span sides{SaturatingAdd(top, 1), bottom};
    BlendColumnSpan(canvas, left, sides, colour);
    if (right != left) {
        BlendColumnSpan(canvas, right, sides, colour);
    }
}

void BlendMagnified(document::Image& canvas, const document::Image* source,
                    const document::Rect64& area, std::int64_t x, std::int64_t y,
                    std::int64_t zoom) {
    if (source == nullptr || area.Width <= 0 || area.Height <= 0 || source->Width < 0 ||
        source->Height < 0 ||
        source->Pixels.size() != static_cast<std::size_t>(source->Width * source->Height)) {
        return;
    }
    const std::int64_t z = EffectiveZoom(zoom);
    // Only the part of area inside source can show; the rest is transparent.
    const Span sourceColumns{std::max<std::int64_t>(area.X, 0),
                             std::min(SaturatingAdd(area.X, area.Width), source->Width)};
    const Span sourceRows{std::max<std::int64_t>(area.Y, 0),
                          std::min(SaturatingAdd(area.Y, area.Height), source->Height)};
    if (sourceColumns.Empty() || sourceRows.Empty()) {
        return;
    }
    const auto canvasPosition = [z](std::int64_t origin, std::int64_t areaStart,
                                    std::int64_t sourceIndex) {
        return SaturatingAdd(origin, SaturatingMul(SaturatingSub(sourceIndex, areaStart), z));
    };
    const Span columns = Clipped({canvasPosition(x, area.X, sourceColumns.Begin),
                                  canvasPosition(x, area.X, sourceColumns.End)},
                                 canvas.Width);
    const Span rows = Clipped(
        {canvasPosition(y, area.Y, sourceRows.Begin), canvasPosition(y, area.Y, sourceRows.End)},
        canvas.Height);
    if (columns.Empty() || rows.Empty()) {
        return;
    }
    const std::int64_t firstOffset = SaturatingSub(columns.Begin, x);
    for (std::int64_t row = rows.Begin; row < rows.End; ++row) {
        const std::int64_t sourceY = SaturatingAdd(area.Y, SaturatingSub(row, y) / z);
        if (sourceY < sourceRows.Begin || sourceY >= sourceRows.End) {
            continue;
        }
        const std::uint32_t* sourceRow =
            source->Pixels.data() + static_cast<std::size_t>(sourceY * source->Width);
        std::uint32_t* canvasRow = &canvas.At(0, row);
        // Walk the canvas row in runs of one source pixel each.
        std::int64_t column = columns.Begin;
        std::int64_t sourceX = SaturatingAdd(area.X, firstOffset / z);
        std::int64_t run = z - firstOffset % z;
        while (column < columns.End) {
            const std::int64_t end = std::min(columns.End, SaturatingAdd(column, run));
            if (sourceX >= sourceColumns.Begin && sourceX < sourceColumns.End) {
                BlendRun(canvasRow, column, end, sourceRow[sourceX]);
            }
            column = end;
            sourceX = SaturatingAdd(sourceX, 1);
            run = z;
        }
    }
}

} // namespace glyfora::views
