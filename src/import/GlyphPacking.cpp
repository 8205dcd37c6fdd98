#include "import/GlyphPacking.h"

#include "document/CompactPacking.h"
#include "document/FamilyList.h"
#include "document/RowPacking.h"
#include "import/GlyphCropping.h"

#include <algorithm>
#include <cmath>

namespace glyfora::import {

namespace {

// Measurements beyond this many pixels are nonsense from a broken font; they are clamped so that
// the packing arithmetic cannot overflow.
constexpr double MaxMetric = 1.0e9;

// The options with every number inside the range the window allows.
ImportOptions Clamped(const ImportOptions& options) {
    ImportOptions clamped = options;
    auto clamp = [](std::int64_t& value, OptionRange range) {
        value = std::clamp(value, range.Min, range.Max);
    };
    clamp(clamped.Size, SizeRange);
    clamp(clamped.LetterSpace, SpaceRange);
    clamp(clamped.PaddingTop, SpaceRange);
    clamp(clamped.PaddingBottom, SpaceRange);
    clamp(clamped.PaddingLeft, SpaceRange);
    clamp(clamped.PaddingRight, SpaceRange);
    clamp(clamped.MaxWidth, MaxWidthRange);
    clamp(clamped.Gutter, GutterRange);
    return clamped;
}

// Calls progress for one pass that is part of a larger whole.
struct PassProgress {
    const ImportProgress& Callback;
    std::int64_t Offset = 0;
    std::int64_t Total = 0;

    [[nodiscard]] bool Report(std::int64_t done) const {
        return !Callback || Callback(Offset + done, Total);
    }
};

MeasureResult Measure(document::Typeface& typeface, const ImportOptions& options,
                      GlyphSource& source, const PassProgress& progress) {
    MeasureResult result;
    document::RowPacker packer{options.MaxWidth};
    // Only a surface to measure on; the image the glyphs go into is made after measuring.
    auto scratch = document::MakeImage(256, 256, 0);
    if (scratch && source.Begin(*scratch, options)) {
        result.Measured = true;
        result.Ascent = std::clamp(source.MeasureAscent(), -MaxMetric, MaxMetric);
        result.Family = source.FamilyName();
        std::int64_t done = 0;
        for (document::Character& character : typeface.Content.Characters) {
            if (!progress.Report(done++)) {
                result.Cancelled = true;
                break;
            }
            const auto code = static_cast<std::uint16_t>(character.Index);
            const double width = std::clamp(source.MeasureWidth(code), -MaxMetric, MaxMetric);
            const double height = std::clamp(source.MeasureHeight(code), -MaxMetric, MaxMetric);
            const std::int64_t w = RoundHalfAwayFromZero(width);
            const std::int64_t h = RoundHalfAwayFromZero(height);
            character.Outlay = {-options.PaddingLeft, -options.PaddingTop, w + options.LetterSpace,
                                h};
            character.Source.Width = w + options.PaddingLeft + options.PaddingRight;
            character.Source.Height = h + options.PaddingTop + options.PaddingBottom;
            document::PlaceCell(packer, character.Source.Width, character.Source.Height);
        }
        source.End();
        if (!result.Cancelled && !progress.Report(done)) {
            result.Cancelled = true;
        }
    }
    result.Width = RoundUpTo64(packer.X);
    result.Height = RoundUpTo64(document::PackedHeight(packer));
    return result;
}

bool Draw(document::Typeface& typeface, document::Image& picture, const ImportOptions& options,
          GlyphSource& source, const PassProgress& progress) {
    auto& content = typeface.Content;
    bool cancelled = false;
    if (source.Begin(picture, options)) {
        source.Clear(TransparentWhite);
        // The measuring pass packed against the same width, so the rows are the ones it sized.
        document::RowPacker packer{picture.Width};
        std::int64_t done = 0;
        for (document::Character& character : content.Characters) {
            if (!progress.Report(done++)) {
                cancelled = true;
                break;
            }
            const document::CellCorner corner =
                document::PlaceCell(packer, character.Source.Width, character.Source.Height);
            character.Source.X = corner.X;
            character.Source.Y = corner.Y;
            const auto code = static_cast<std::uint16_t>(character.Index);
            double centre = 0.0;
            if (options.Center) {
                // Half the difference between the rounded and the exact width.
                const double rounded =
                    static_cast<double>(character.Outlay.Width - options.LetterSpace);
                centre = (rounded - source.MeasureWidth(code)) / 2.0;
            }
            source.Draw(static_cast<double>(corner.X + options.PaddingLeft) + centre,
                        static_cast<double>(corner.Y + options.PaddingTop), code, OpaqueWhite);
        }
        source.End();
        if (!cancelled && !progress.Report(done)) {
            cancelled = true;
        }
    }
    return !cancelled;
}

// The row layout's picture, width × height, drawn and installed; false with result's reason when
// the picture cannot be made or the drawing is cancelled.
bool DrawRows(document::Typeface& typeface, const ImportOptions& options, GlyphSource& source,
              document::CellSize pictureSize, const PassProgress& progress, ImportResult& result) {
    const auto [width, height] = pictureSize;
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height <= 0) {
        result.Error = "The character-set image would be empty (" + size +
                       " pixels); check the size and the paddings.";
        return false;
    }
    if (!document::ImageSizeAllowed(width, height)) {
        result.Error = "The character-set image would be " + size +
                       " pixels, more than an image may hold; choose a smaller size or fewer "
                       "characters.";
        return false;
    }
    auto picture = document::MakeImage(width, height, 0);
    if (!Draw(typeface, *picture, options, source, progress)) {
        result.Cancelled = true;
        result.Error = "The import was cancelled.";
        return false;
    }
    document::SetCharacterSetImage(typeface, std::move(picture));
    return true;
}

// The compact layout: every glyph drawn on its own where the row layout (rowWidth wide) would draw
// it, cropped to its ink, and the cells packed densely. Outlay X and Y move by what the cropping
// cut, so each cell is drawn where its row cell would put those pixels.
document::Result<document::Image> DrawCompact(document::Typeface& typeface,
                                              const ImportOptions& options, GlyphSource& source,
                                              std::int64_t rowWidth, const PassProgress& progress,
                                              bool& cancelled) {
    GlyphCropper cropper(source, options);
    if (!cropper.Ready()) {
        return document::Failure{"The glyphs cannot be drawn: the text rasteriser stopped."};
    }
    document::RowPacker rows{rowWidth};
    std::vector<CroppedGlyph> glyphs;
    std::vector<document::CellSize> cells;
    std::int64_t done = 0;
    for (document::Character& character : typeface.Content.Characters) {
        if (!progress.Report(done++)) {
            cancelled = true;
            return document::Failure{"The import was cancelled."};
        }
        const document::CellCorner corner =
            document::PlaceCell(rows, character.Source.Width, character.Source.Height);
        CroppedGlyph glyph =
            cropper.Crop({static_cast<std::uint16_t>(character.Index),
                          character.Source.Width - options.PaddingLeft - options.PaddingRight,
                          character.Outlay.Height, corner.X});
        character.Outlay.X += glyph.X;
        character.Outlay.Y += glyph.Y;
        cells.push_back({glyph.Cell.Width, glyph.Cell.Height});
        glyphs.push_back(std::move(glyph));
    }
    if (!progress.Report(done)) {
        cancelled = true;
        return document::Failure{"The import was cancelled."};
    }
    const document::Result<document::PackedCells> packed =
        document::PackCells(cells, {options.Gutter, options.MaxWidth, options.PowerOfTwo});
    if (!packed) {
        return document::Failure{"The compact character-set image cannot be made: " + packed.Error +
                                 "."};
    }
    auto picture =
        document::MakeImage(std::max<std::int64_t>(packed.Value->Width, 1),
                            std::max<std::int64_t>(packed.Value->Height, 1), TransparentWhite);
    if (!picture) {
        return document::Failure{"The compact character-set image would be larger than an image "
                                 "may hold."};
    }
    std::size_t i = 0;
    for (document::Character& character : typeface.Content.Characters) {
        const document::Image& cell = glyphs[i].Cell;
        const document::CellCorner corner = packed.Value->Corners[i++];
        character.Source = {corner.X, corner.Y, cell.Width, cell.Height};
        for (std::int64_t y = 0; y < cell.Height; ++y) {
            std::copy_n(&cell.Pixels[static_cast<std::size_t>(y * cell.Width)], cell.Width,
                        &picture->At(corner.X, corner.Y + y));
        }
    }
    return std::move(*picture);
}

} // namespace

std::int64_t RoundHalfAwayFromZero(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    value = std::clamp(value, -4.0e18, 4.0e18);
    return static_cast<std::int64_t>(value > 0.0 ? std::floor(value + 0.5)
                                                 : std::ceil(value - 0.5));
}

std::int64_t RoundUpTo64(std::int64_t value) {
    // Division truncates toward zero, which is the ceiling for negative values.
    return value > 0 ? (value / 64 + (value % 64 != 0 ? 1 : 0)) * 64 : (value / 64) * 64;
}

void GatherFontCharacters(document::Typeface& typeface, std::span<const std::uint16_t> codes,
                          std::span<const ImportKerningPair> pairs, bool unicode) {
    for (const std::uint16_t code : codes) {
        if (code <= 255 || unicode) {
            document::AddCharacter(typeface, code);
        }
    }
    for (const ImportKerningPair& pair : pairs) {
        if ((pair.First <= 255 && pair.Second <= 255) || unicode) {
            document::AddKerningPair(typeface, pair.First, pair.Second, pair.Amount);
        }
    }
}

MeasureResult MeasureCharacters(document::Typeface& typeface, const ImportOptions& options,
                                GlyphSource& source, const ImportProgress& progress) {
    const auto count = static_cast<std::int64_t>(typeface.Content.Characters.Size());
    return Measure(typeface, Clamped(options), source, {progress, 0, count});
}

bool DrawCharacterSet(document::Typeface& typeface, document::Image picture,
                      const ImportOptions& options, GlyphSource& source,
                      const ImportProgress& progress) {
    const auto count = static_cast<std::int64_t>(typeface.Content.Characters.Size());
    if (!Draw(typeface, picture, Clamped(options), source, {progress, 0, count})) {
        return false;
    }
    document::SetCharacterSetImage(typeface, std::move(picture));
    return true;
}

ImportResult CreateTypefaceFromFont(const document::TypefaceRegistry& registry, std::int64_t id,
                                    const ImportOptions& requested, const FontImportInput& input,
                                    GlyphSource& source, const ImportProgress& progress) {
    ImportResult result;
    ImportOptions options = Clamped(requested);
    // Only the fallbacks that draw a chosen code are opened; the first to cover a code is the
    // same among them as among all.
    options.Fallbacks = input.Fallbacks;
    auto typeface = document::MakeTypeface(registry, id);
    if (!typeface) {
        result.Error = "The typeface id " + std::to_string(id) + " is outside 0..65535.";
        return result;
    }
    if (options.Size <= 0) {
        result.Error = "A size of 0 pixels makes no font; choose a size from 1 to 128.";
        return result;
    }
    GatherFontCharacters(*typeface, input.Codes, input.Pairs, options.Unicode || input.Listed);

    const auto count = static_cast<std::int64_t>(typeface->Content.Characters.Size());
    const MeasureResult measured = Measure(*typeface, options, source, {progress, 0, count * 2});
    if (measured.Cancelled) {
        result.Cancelled = true;
        result.Error = "The import was cancelled.";
        return result;
    }
    if (!measured.Measured) {
        result.Error = "\"" + options.Family + "\" cannot be drawn at " +
                       std::to_string(options.Size) +
                       " pixels: the text rasteriser is not running or the font cannot be made "
                       "at that size.";
        return result;
    }
    if (count == 0) {
        result.Error = input.Listed      ? "The fonts cover none of the listed characters."
                       : options.Unicode ? "The font covers no characters."
                                         : "The font covers no characters with codes up to 255; "
                                           "choose Unicode to import the others.";
        return result;
    }
    const std::int64_t width = options.MaxWidth != 0 ? options.MaxWidth : measured.Width;
    const PassProgress drawing{progress, count, count * 2};
    if (options.Layout == CellLayout::Compact) {
        bool cancelled = false;
        document::Result<document::Image> picture =
            DrawCompact(*typeface, options, source, width, drawing, cancelled);
        if (!picture) {
            result.Cancelled = cancelled;
            result.Error = picture.Error;
            return result;
        }
        document::SetCharacterSetImage(*typeface, std::move(*picture.Value));
    } else if (!DrawRows(*typeface, options, source, {width, measured.Height}, drawing, result)) {
        return result;
    }
    document::PropertyValue(*typeface, "Face") = measured.Family;
    document::PropertyValue(*typeface, "Size") = std::to_string(options.Size);
    document::PropertyValue(*typeface, "Base") =
        std::to_string(static_cast<std::int64_t>(std::ceil(measured.Ascent)));
    if (!input.Fallbacks.empty()) {
        document::PropertyValue(*typeface, "Fallbacks") = document::JoinFamilyList(input.Fallbacks);
    }
    // Nothing of it is on disk yet.
    typeface->Modified = true;
    result.Typeface = std::move(typeface);
    return result;
}

ImportResult CreateTypefaceFromFont(const document::TypefaceRegistry& registry, std::int64_t id,
                                    const ImportOptions& options, const FontImportInput& input,
                                    const platform::GraphicsLibrary& graphics,
                                    const ImportProgress& progress) {
    ContextGlyphSource source(graphics);
    return CreateTypefaceFromFont(registry, id, options, input, source, progress);
}

} // namespace glyfora::import
