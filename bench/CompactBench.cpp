// Compares the compact layout with the row layout on installed fonts: how densely the cells fill
// the picture, how large the picture is, how long an import takes in each layout, and how long the
// packer takes for a large character set. Every figure is measured in the same run.
//
//   glyfora_bench_compact [REPETITIONS]

#include "BestTime.h"
#include "document/SkylinePacking.h"
#include "import/FontServices.h"
#include "import/ImportRun.h"
#include "platform/GraphicsLibrary.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace glyfora;

// The characters and pairs the options choose, read once so that only the import is timed.
fontimport::FontImportInput Input(const platform::GraphicsLibrary& graphics,
                                  fontimport::FontFiles& files,
                                  const fontimport::ImportOptions& options) {
    base::Result<fontimport::FontImportInput> input =
        fontimport::ReadFontImportInput(files, graphics, options);
    if (!input) {
        std::fprintf(stderr, "cannot read the fonts: %s\n", input.Error.c_str());
        std::exit(1);
    }
    return std::move(*input.Value);
}

std::unique_ptr<document::Typeface> Import(const platform::GraphicsLibrary& graphics,
                                           fontimport::FontFiles& files,
                                           const fontimport::ImportOptions& options,
                                           const fontimport::FontImportInput& input) {
    document::TypefaceRegistry registry;
    fontimport::ImportOutcome outcome =
        fontimport::ImportFromInput(registry, 5, options, input, graphics, files);
    if (!outcome.Typeface) {
        std::fprintf(stderr, "import failed: %s\n", outcome.Reason.c_str());
        std::exit(1);
    }
    return std::move(outcome.Typeface);
}

std::vector<document::CellSize> Cells(const document::Typeface& typeface) {
    std::vector<document::CellSize> cells;
    for (const document::Character& character : typeface.Content.Characters) {
        cells.push_back({character.Source.Width, character.Source.Height});
    }
    return cells;
}

double Area(const document::Typeface& typeface) {
    return static_cast<double>(typeface.Content.Image->Width) *
           static_cast<double>(typeface.Content.Image->Height);
}

// The share of the picture the cells take, each with its gutter.
double Fill(const document::Typeface& typeface, std::int64_t gutter) {
    double cells = 0.0;
    for (const document::CellSize& cell : Cells(typeface)) {
        if (cell.Width > 0 && cell.Height > 0) {
            cells += static_cast<double>(cell.Width + gutter) *
                     static_cast<double>(cell.Height + gutter);
        }
    }
    return cells / Area(typeface);
}

void CompareLayouts(const platform::GraphicsLibrary& graphics, bool unicode, int repetitions) {
    fontimport::ImportOptions options;
    options.Family = "DejaVu Sans";
    options.Size = 24;
    options.Unicode = unicode;
    fontimport::FontFiles files;
    const fontimport::FontImportInput input = Input(graphics, files, options);
    fontimport::ImportOptions compact = options;
    compact.Layout = fontimport::CellLayout::Compact;
    compact.MaxWidth = 0;
    std::unique_ptr<document::Typeface> rowTypeface, compactTypeface;
    double rowMs = 1e300, compactMs = 1e300;
    // Alternated, so that both see the same state of the machine.
    for (int i = 0; i < repetitions; ++i) {
        rowMs = std::min(rowMs, bench::BestMs(1, [&] {
                             rowTypeface = Import(graphics, files, options, input);
                         }));
        compactMs = std::min(compactMs, bench::BestMs(1, [&] {
                                 compactTypeface = Import(graphics, files, compact, input);
                             }));
    }
    std::printf("DejaVu Sans 24, %s: %zu glyphs\n",
                unicode ? "every covered code" : "codes up to 255",
                compactTypeface->Content.Characters.Size());
    std::printf("  rows (max width %lld):  %lld x %lld, fill %.1f%%, import %.1f ms\n",
                static_cast<long long>(options.MaxWidth),
                static_cast<long long>(rowTypeface->Content.Image->Width),
                static_cast<long long>(rowTypeface->Content.Image->Height),
                100.0 * Fill(*rowTypeface, 0), rowMs);
    std::printf("  compact (max width 0, gutter %lld): %lld x %lld, fill %.1f%%, import %.1f ms\n",
                static_cast<long long>(compact.Gutter),
                static_cast<long long>(compactTypeface->Content.Image->Width),
                static_cast<long long>(compactTypeface->Content.Image->Height),
                100.0 * Fill(*compactTypeface, compact.Gutter), compactMs);
    std::printf("  compact area / rows area %.1f%%, compact time / rows time %.2f\n",
                100.0 * Area(*compactTypeface) / Area(*rowTypeface), compactMs / rowMs);
    const std::vector<document::CellSize> cells = Cells(*compactTypeface);
    const double packMs = bench::BestMs(repetitions, [&] {
        (void)document::PackCells(cells,
                                  {compact.Gutter, compact.MaxWidth, compact.PowerOfTwo, {}});
    });
    std::printf("  of which packing the cells %.1f ms\n", packMs);
}

void TimeLargePacking(const platform::GraphicsLibrary& graphics, int repetitions) {
    fontimport::ImportOptions options;
    options.Family = "WenQuanYi Zen Hei";
    options.Size = 32;
    options.Unicode = true;
    options.Layout = fontimport::CellLayout::Compact;
    options.MaxWidth = 0;
    fontimport::FontFiles files;
    const fontimport::FontImportInput input = Input(graphics, files, options);
    const std::unique_ptr<document::Typeface> typeface = Import(graphics, files, options, input);
    const std::vector<document::CellSize> cells = Cells(*typeface);
    for (const std::int64_t maxWidth : {std::int64_t{0}, std::int64_t{4096}}) {
        base::Result<document::PackedCells> packed;
        const double ms = bench::BestMs(repetitions, [&] {
            packed = document::PackCells(cells, {options.Gutter, maxWidth, false, {}});
        });
        std::printf("WenQuanYi Zen Hei 32, %zu cells, max width %lld: packed into %lld x %lld in "
                    "%.1f ms\n",
                    cells.size(), static_cast<long long>(maxWidth),
                    static_cast<long long>(packed.Value->Width),
                    static_cast<long long>(packed.Value->Height), ms);
    }
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    platform::GraphicsLibrary graphics;
    if (!platform::InitGraphicsLibrary(graphics)) {
        std::fprintf(stderr, "the text rasteriser could not be started\n");
        return 1;
    }
    CompareLayouts(graphics, false, repetitions);
    CompareLayouts(graphics, true, repetitions);
    TimeLargePacking(graphics, repetitions);
    return 0;
}
