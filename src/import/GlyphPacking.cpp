#include "import/GlyphPacking.h"

#include "document/CompactPacking.h"
#include "document/FamilyList.h"
#include "document/RowPacking.h"
#include "import/FontFiles.h"
#include "import/GlyphCropping.h"
#include "import/OrderedWork.h"

#include <algorithm>
#include <cmath>

namespace glyfora::fontimport {

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

// Results of measuring or rasterising that may wait for their turn at once: enough to keep the
// workers busy, few enough that their masks take little memory.
constexpr std::int64_t ResultWindow = 512;

// The glyph sources of a pass that opened, one per worker; they are closed again on destruction.
// Sources that cannot open are left out, so a pass runs with the others.
class OpenedSources {
public:
    // Opens sources[i] on images[i], or on images[0] when there is only one image.
    OpenedSources(std::span<GlyphSource* const> sources, std::span<document::Image> images,
                  const ImportOptions& options) {
        for (std::size_t i = 0; i < sources.size(); ++i) {
            if (sources[i]->Begin(images[images.size() == 1 ? 0 : i], options)) {
                open_.push_back(sources[i]);
            }
        }
    }
    ~OpenedSources() {
        for (GlyphSource* source : open_) {
            source->End();
        }
    }
    OpenedSources(const OpenedSources&) = delete;
    OpenedSources& operator=(const OpenedSources&) = delete;

    [[nodiscard]] bool Empty() const { return open_.empty(); }
    [[nodiscard]] std::int64_t Count() const { return static_cast<std::int64_t>(open_.size()); }
    // The first also clears and composites.
    [[nodiscard]] GlyphSource& operator[](std::int64_t worker) const {
        return *open_[static_cast<std::size_t>(worker)];
    }

private:
    std::vector<GlyphSource*> open_;
};

// The characters in list order, for the workers to take by index.
std::vector<document::Character*> CharacterList(document::Typeface& typeface) {
    std::vector<document::Character*> characters;
    characters.reserve(typeface.Content.Characters.Size());
    for (document::Character& character : typeface.Content.Characters) {
        characters.push_back(&character);
    }
    return characters;
}

// The x at which the row layout draws a glyph of the rounded width outlayWidth: centred in it
// when the options say so, by half the difference between the rounded and the exact width.
double DrawingX(GlyphSource& source, const ImportOptions& options, std::int64_t cellX,
                std::int64_t outlayWidth, std::uint16_t code) {
    double centre = 0.0;
    if (options.Center) {
        const auto rounded = static_cast<double>(outlayWidth - options.LetterSpace);
        centre = (rounded - source.MeasureWidth(code)) / 2.0;
    }
    return static_cast<double>(cellX + options.PaddingLeft) + centre;
}

MeasureResult Measure(document::Typeface& typeface, const ImportOptions& options,
                      std::span<GlyphSource* const> sources, const PassProgress& progress) {
    MeasureResult result;
    document::RowPacker packer{options.MaxWidth};
    // Measuring draws nothing, so the sources only need a pixel to be opened on; the image the
    // glyphs go into is made after measuring.
    std::vector<document::Image> scratches(sources.size(),
                                           document::Image{1, 1, std::vector<std::uint32_t>(1)});
    const OpenedSources opened(sources, scratches, options);
    if (!opened.Empty()) {
        result.Measured = true;
        result.Ascent = std::clamp(opened[0].MeasureAscent(), -MaxMetric, MaxMetric);
        result.Family = opened[0].FamilyName();
        const std::vector<document::Character*> characters = CharacterList(typeface);
        std::vector<std::pair<std::int64_t, std::int64_t>> sizes(ResultWindow);
        OrderedWork work;
        work.Count = static_cast<std::int64_t>(characters.size());
        work.Workers = opened.Count();
        work.Window = ResultWindow;
        work.Produce = [&](std::int64_t worker, std::int64_t index, std::int64_t slot) {
            GlyphSource& source = opened[worker];
            const auto code = static_cast<std::uint16_t>(characters[index]->Index);
            const double width = std::clamp(source.MeasureWidth(code), -MaxMetric, MaxMetric);
            const double height = std::clamp(source.MeasureHeight(code), -MaxMetric, MaxMetric);
            sizes[slot] = {RoundHalfAwayFromZero(width), RoundHalfAwayFromZero(height)};
        };
        work.Consume = [&](std::int64_t index, std::int64_t slot) {
            document::Character& character = *characters[index];
            const auto [w, h] = sizes[slot];
            character.Outlay = {-options.PaddingLeft, -options.PaddingTop, w + options.LetterSpace,
                                h};
            character.Source.Width = w + options.PaddingLeft + options.PaddingRight;
            character.Source.Height = h + options.PaddingTop + options.PaddingBottom;
            document::PlaceCell(packer, character.Source.Width, character.Source.Height);
        };
        work.Report = [&progress](std::int64_t done) { return progress.Report(done); };
        result.Cancelled = !RunInOrder(work);
    }
    result.Width = RoundUpTo64(packer.X);
    result.Height = RoundUpTo64(document::PackedHeight(packer));
    return result;
}

// Places every cell in rows across picture and draws the glyphs: rasterised on the workers,
// composited in list order on this thread, so that where the ink of neighbours overlaps it is
// blended as one source drawing them one after another would blend it.
bool Draw(document::Typeface& typeface, document::Image& picture, const ImportOptions& options,
          std::span<GlyphSource* const> sources, const PassProgress& progress) {
    const OpenedSources opened(sources, {&picture, 1}, options);
    if (opened.Empty()) {
        return true;
    }
    opened[0].Clear(TransparentWhite);
    // The measuring pass packed against the same width, so the rows are the ones it sized.
    document::RowPacker packer{picture.Width};
    const std::vector<document::Character*> characters = CharacterList(typeface);
    for (document::Character* character : characters) {
        const document::CellCorner corner =
            document::PlaceCell(packer, character->Source.Width, character->Source.Height);
        character->Source.X = corner.X;
        character->Source.Y = corner.Y;
    }
    std::vector<GlyphInk> inks(ResultWindow);
    OrderedWork work;
    work.Count = static_cast<std::int64_t>(characters.size());
    work.Workers = opened.Count();
    work.Window = ResultWindow;
    work.Produce = [&](std::int64_t worker, std::int64_t index, std::int64_t slot) {
        GlyphSource& source = opened[worker];
        const document::Character& character = *characters[index];
        const auto code = static_cast<std::uint16_t>(character.Index);
        const double x =
            DrawingX(source, options, character.Source.X, character.Outlay.Width, code);
        inks[slot] =
            source.Rasterise(x, static_cast<double>(character.Source.Y + options.PaddingTop), code);
    };
    work.Consume = [&](std::int64_t, std::int64_t slot) {
        opened[0].Composite(inks[slot], OpaqueWhite);
        inks[slot] = {};
    };
    work.Report = [&progress](std::int64_t done) { return progress.Report(done); };
    return RunInOrder(work);
}

// The row layout's picture, width × height, drawn and installed; false with result's reason when
// the picture cannot be made or the drawing is cancelled.
bool DrawRows(document::Typeface& typeface, const ImportOptions& options,
              std::span<GlyphSource* const> sources, document::CellSize pictureSize,
              const PassProgress& progress, ImportResult& result) {
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
    if (!Draw(typeface, *picture, options, sources, progress)) {
        result.Cancelled = true;
        result.Error = "The import was cancelled.";
        return false;
    }
    document::SetCharacterSetImage(typeface, std::move(picture));
    return true;
}

// Where the row layout (rowWidth wide) draws each glyph, for cropping; none when the paddings leave
// no row cell, which leaves nothing to crop either and which the rows layout refuses too.
std::vector<RowGlyph> RowGlyphs(const std::vector<document::Character*>& characters,
                                const ImportOptions& options, std::int64_t rowWidth) {
    document::RowPacker rows{rowWidth};
    std::vector<RowGlyph> rowGlyphs;
    rowGlyphs.reserve(characters.size());
    for (const document::Character* character : characters) {
        const document::CellCorner corner =
            document::PlaceCell(rows, character->Source.Width, character->Source.Height);
        rowGlyphs.push_back({static_cast<std::uint16_t>(character->Index),
                             character->Source.Width - options.PaddingLeft - options.PaddingRight,
                             character->Outlay.Height, corner.X});
    }
    if (document::PackedHeight(rows) <= 0) {
        rowGlyphs.clear();
    }
    return rowGlyphs;
}

// The compact layout: every glyph drawn on its own where the row layout (rowWidth wide) would draw
// it, cropped to its ink, and the cells packed densely. Outlay X and Y move by what the cropping
// cut, so each cell is drawn where its row cell would put those pixels.
base::Result<document::Image> DrawCompact(document::Typeface& typeface,
                                          const ImportOptions& options,
                                          std::span<GlyphSource* const> sources,
                                          std::int64_t rowWidth, const PassProgress& progress,
                                          bool& cancelled) {
    std::vector<std::unique_ptr<GlyphCropper>> croppers;
    for (GlyphSource* source : sources) {
        auto cropper = std::make_unique<GlyphCropper>(*source, options);
        if (cropper->Ready()) {
            croppers.push_back(std::move(cropper));
        }
    }
    if (croppers.empty()) {
        return base::Failure{"The glyphs cannot be drawn: the text rasteriser stopped."};
    }
    const std::vector<document::Character*> characters = CharacterList(typeface);
    const std::vector<RowGlyph> rowGlyphs = RowGlyphs(characters, options, rowWidth);
    if (rowGlyphs.empty()) {
        return base::Failure{"The character-set image would be empty (" + std::to_string(rowWidth) +
                             " x 0 pixels); check the size and the paddings."};
    }
    // Every cell is kept until all are packed, so each result has its own slot.
    const auto count = static_cast<std::int64_t>(characters.size());
    std::vector<CroppedGlyph> glyphs(characters.size());
    std::vector<document::CellSize> cells(characters.size());
    std::uint64_t cellPixels = 0;
    bool fits = true; // the cells so far could fit one picture
    OrderedWork work;
    work.Count = count;
    work.Workers = static_cast<std::int64_t>(croppers.size());
    work.Window = std::max<std::int64_t>(count, 1);
    work.Produce = [&](std::int64_t worker, std::int64_t index, std::int64_t) {
        glyphs[static_cast<std::size_t>(index)] = croppers[static_cast<std::size_t>(worker)]->Crop(
            rowGlyphs[static_cast<std::size_t>(index)]);
    };
    work.Consume = [&](std::int64_t index, std::int64_t) {
        const CroppedGlyph& glyph = glyphs[static_cast<std::size_t>(index)];
        characters[static_cast<std::size_t>(index)]->Outlay.X += glyph.X;
        characters[static_cast<std::size_t>(index)]->Outlay.Y += glyph.Y;
        cells[static_cast<std::size_t>(index)] = {glyph.Cell.Width, glyph.Cell.Height};
        fits = fits && document::CountCellPixels(cellPixels, {glyph.Cell.Width, glyph.Cell.Height});
    };
    work.Report = [&](std::int64_t done) { return fits && progress.Report(done); };
    if (!RunInOrder(work)) {
        if (!fits) {
            return base::Failure{"The compact character-set image would be larger than an "
                                 "image may hold: its cells alone take more pixels; choose a "
                                 "smaller size or fewer characters."};
        }
        cancelled = true;
        return base::Failure{"The import was cancelled."};
    }
    croppers.clear();
    const base::Result<document::PackedCells> packed =
        document::PackCells(cells, {options.Gutter, options.MaxWidth, options.PowerOfTwo});
    if (!packed) {
        return base::Failure{"The compact character-set image cannot be made: " + packed.Error +
                             "."};
    }
    auto picture =
        document::MakeImage(std::max<std::int64_t>(packed.Value->Width, 1),
                            std::max<std::int64_t>(packed.Value->Height, 1), TransparentWhite);
    if (!picture) {
        return base::Failure{"The compact character-set image would be larger than an image "
                             "may hold."};
    }
    std::size_t i = 0;
    for (document::Character& character : typeface.Content.Characters) {
        const document::Image& cell = glyphs[i].Cell;
        const document::CellCorner corner = packed.Value->Corners[i++];
        character.Source = {corner.X, corner.Y, cell.Width, cell.Height};
        document::CopyRect(cell, {0, 0, cell.Width, cell.Height}, *picture, corner.X, corner.Y);
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
    GlyphSource* const sources[] = {&source};
    return Measure(typeface, Clamped(options), sources, {progress, 0, count});
}

bool DrawCharacterSet(document::Typeface& typeface, document::Image picture,
                      const ImportOptions& options, GlyphSource& source,
                      const ImportProgress& progress) {
    const auto count = static_cast<std::int64_t>(typeface.Content.Characters.Size());
    GlyphSource* const sources[] = {&source};
    if (!Draw(typeface, picture, Clamped(options), sources, {progress, 0, count})) {
        return false;
    }
    document::SetCharacterSetImage(typeface, std::move(picture));
    return true;
}

ImportResult CreateTypefaceFromFont(const document::TypefaceRegistry& registry, std::int64_t id,
                                    const ImportOptions& requested, const FontImportInput& input,
                                    GlyphSource& source, const ImportProgress& progress) {
    GlyphSource* const sources[] = {&source};
    return CreateTypefaceFromFont(registry, id, requested, input, sources, progress);
}

ImportResult CreateTypefaceFromFont(const document::TypefaceRegistry& registry, std::int64_t id,
                                    const ImportOptions& requested, const FontImportInput& input,
                                    std::span<GlyphSource* const> sources,
                                    const ImportProgress& progress) {
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
    const MeasureResult measured = Measure(*typeface, options, sources, {progress, 0, count * 2});
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
        base::Result<document::Image> picture =
            DrawCompact(*typeface, options, sources, width, drawing, cancelled);
        if (!picture) {
            result.Cancelled = cancelled;
            result.Error = picture.Error;
            return result;
        }
        document::SetCharacterSetImage(*typeface, std::move(*picture.Value));
    } else if (!DrawRows(*typeface, options, sources, {width, measured.Height}, drawing, result)) {
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
                                    const ImportProgress& progress, std::int64_t jobs) {
    // More workers than glyphs would only open fonts for nothing.
    const std::int64_t workers = std::clamp<std::int64_t>(
        std::min<std::int64_t>(jobs, std::ssize(input.Codes)), JobsRange.Min, JobsRange.Max);
    // Made before the sources, so that their faces are closed before the bytes they read go.
    FontFiles files;
    std::vector<std::unique_ptr<ContextGlyphSource>> owned;
    std::vector<GlyphSource*> sources;
    for (std::int64_t i = 0; i < workers; ++i) {
        owned.push_back(std::make_unique<ContextGlyphSource>(graphics, &files));
        sources.push_back(owned.back().get());
    }
    return CreateTypefaceFromFont(registry, id, options, input, sources, progress);
}

} // namespace glyfora::fontimport
