#include "import/ImportRun.h"

#include "document/SkylinePacking.h"
#include "formats/FileFormat.h"
#include "import/CompactDrawing.h"
#include "import/GlyphEffects.h"
#include "import/GlyphLayout.h"
#include "import/GlyphMeasuring.h"
#include "import/RowDrawing.h"
#include "import/TypefaceFromFont.h"

#include <algorithm>

namespace glyfora::fontimport {

namespace {

ImportOutcome Stopped(ImportStop stop) {
    ImportOutcome outcome;
    outcome.End = stop.End;
    outcome.Reason = std::move(stop.Reason);
    return outcome;
}

std::string NothingChosen(const ImportOptions& options, const FontImportInput& input) {
    return input.Listed      ? "The fonts cover none of the listed characters."
           : options.Unicode ? "The font covers no characters."
                             : "The font covers no characters with codes up to 255; choose "
                               "Unicode to import the others.";
}

// The check the ".tf" writer makes anyway, asked at once so that the advice can name the width.
std::optional<SaveAdvice> TfAdvice(const document::Typeface& typeface,
                                   const ImportOptions& options) {
    const document::PackingRules compact{options.Gutter, 0, options.PowerOfTwo, options.Pages};
    std::optional<formats::FieldBeyondLimits> beyond = formats::FindFieldBeyondLimits(
        typeface, *formats::FileFormatOf(formats::FileFormatId::Tf).Limits,
        options.Layout == CellLayout::Compact ? &compact : nullptr);
    if (!beyond) {
        return std::nullopt;
    }
    return SaveAdvice{std::move(beyond->Reason), beyond->FittingWidth};
}

} // namespace

ImportOutcome ImportFromInput(const document::TypefaceRegistry& registry, std::int64_t id,
                              const ImportOptions& requested, const FontImportInput& input,
                              std::span<GlyphSource* const> sources,
                              const ImportProgress& progress) {
    ImportOptions options = ClampedImportOptions(requested);
    // Only the fallbacks that draw a chosen code are opened; the first to cover a code is the
    // same among them as among all.
    options.Fallbacks = input.Fallbacks;
    if (std::optional<std::string> conflict = EffectsConflict(options.Effects)) {
        return Stopped({ImportEnd::Failed, std::move(*conflict)});
    }
    if (options.Size <= 0) {
        return Stopped(
            {ImportEnd::Failed, "A size of 0 pixels makes no font; choose a size from 1 to 128."});
    }
    const auto count = std::ssize(input.Codes);
    const Staged<MeasuredGlyphs> measured =
        MeasureGlyphs(input.Codes, options, sources, {progress, 0, count * 2});
    if (!measured) {
        return Stopped(measured.Stop);
    }
    if (count == 0) {
        return Stopped({ImportEnd::Failed, NothingChosen(options, input)});
    }
    const document::PackedCells rows =
        LayOutRows(RowCells(*measured.Value, options), options.MaxWidth);
    const PassProgress drawing{progress, count, count * 2};
    Staged<DrawnGlyphs> drawn =
        options.Layout == CellLayout::Compact
            ? DrawCompactly(*measured.Value, rows, options, sources, drawing)
            : DrawRows(*measured.Value, rows, options, sources, drawing);
    if (!drawn) {
        return Stopped(drawn.Stop);
    }
    ImportOutcome outcome;
    outcome.End = ImportEnd::Created;
    outcome.Typeface =
        BuildTypeface(registry, id, options, input, *measured.Value, std::move(*drawn.Value));
    return outcome;
}

ImportOutcome ImportFromInput(const document::TypefaceRegistry& registry, std::int64_t id,
                              const ImportOptions& options, const FontImportInput& input,
                              const platform::GraphicsLibrary& graphics, FontFiles& files,
                              const ImportProgress& progress, std::int64_t jobs) {
    // More workers than glyphs would only open fonts for nothing.
    const std::int64_t workers = std::clamp<std::int64_t>(
        std::min<std::int64_t>(jobs, std::ssize(input.Codes)), JobsRange.Min, JobsRange.Max);
    std::vector<std::unique_ptr<ContextGlyphSource>> owned;
    std::vector<GlyphSource*> sources;
    for (std::int64_t i = 0; i < workers; ++i) {
        owned.push_back(std::make_unique<ContextGlyphSource>(graphics, &files));
        sources.push_back(owned.back().get());
    }
    return ImportFromInput(registry, id, options, input, sources, progress);
}

ImportOutcome RunImport(const platform::GraphicsLibrary& graphics,
                        const document::TypefaceRegistry& registry, std::int64_t id,
                        const ImportOptions& options, const ImportProgress& progress,
                        std::int64_t jobs) {
    // Made before the sources, so that their faces are closed before the bytes they read go.
    FontFiles files;
    base::Result<FontImportInput> input = ReadFontImportInput(files, graphics, options);
    if (!input) {
        return Stopped({ImportEnd::Failed, input.Error});
    }
    ImportOutcome outcome =
        ImportFromInput(registry, id, options, *input.Value, graphics, files, progress, jobs);
    outcome.Warnings = std::move(input.Value->Warnings);
    if (outcome.Typeface) {
        outcome.Advice = TfAdvice(*outcome.Typeface, ClampedImportOptions(options));
    }
    return outcome;
}

} // namespace glyfora::fontimport
