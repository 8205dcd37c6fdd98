#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportArguments.h"
#include "document/FileFormat.h"
#include "document/TypefaceFile.h"
#include "import/FontServices.h"
#include "import/GlyphPacking.h"
#include "platform/GraphicsLibrary.h"

#include <chrono>
#include <iostream>
#include <optional>
#include <string>

namespace glyfora::cli {

namespace {

constexpr std::int64_t ImportTypefaceId = 5;

constexpr CommandUsage Usage{
    "import", "--family NAME --size N [options] -o OUT.tf",
    "Imports an installed font as a bitmap typeface: every covered character (codes up to 255\n"
    "unless --unicode), its kerning pairs, measured metrics and a packed character-set image,\n"
    "saved as a .tf file. Options and defaults are the import window's:\n"
    "  --family NAME         font family (required)\n"
    "  --size N              em size in pixels, 0..128 (0 makes no font) (required)\n"
    "  --bold --italic --underline\n"
    "  --unicode             every covered character and pair, not only codes up to 255\n"
    "  --center              centre each glyph in its rounded width\n"
    "  --half-pixel          pixel offset Half instead of None\n"
    "  --letter-space N      pixels added to each advance, -100..100 (0)\n"
    "  --padding-top N, --padding-bottom N, --padding-left N, --padding-right N\n"
    "                        pixels of cell around each glyph, -100..100 (0)\n"
    "  --max-width N         image width, 0..16384; 0 = everything in one row, or with\n"
    "                        --layout compact a near-square picture (512)\n"
    "  --layout rows|compact rows: every cell one advance wide and one line high, in rows;\n"
    "                        compact: each cell cropped to the glyph's ink (plus the paddings)\n"
    "                        and packed densely; advances and kerning stay the same (rows)\n"
    "  --gutter N            empty pixels between compact cells, 0..64 (1)\n"
    "  --power-of-two        round the compact picture's sides up to powers of two\n"
    "  --hint N              0 SystemDefault, 1 SingleBitPerPixelGridFit, 2 SingleBitPerPixel,\n"
    "                        3 AntiAliasGridFit, 4 AntiAlias, 5 ClearTypeGridFit (4)\n"
    "  --quality N           0 Invalid, 1 Default, 2 HighSpeed, 3 HighQuality,\n"
    "                        4 GammaCorrected, 5 AssumeLinear (5)\n"
    "  --jobs N              glyphs rasterised side by side by N workers, 1..256 (one per\n"
    "                        core); the result is the same for every N\n"
    "  -o, --output OUT.tf   the file to write, in the .tf form whatever its extension\n"
    "A long import reports its progress on stderr. A typeface with values a .tf file cannot\n"
    "hold (such as cells placed more than 32767 pixels down) is not written: the command exits\n"
    "with status 1 and, for cell positions, names the --max-width at which they would fit."};

// Shows how far a long import has got: a line on stderr once a second, after the first second.
class StderrProgress {
public:
    bool operator()(std::int64_t done, std::int64_t total) {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::seconds(1)) {
            return true;
        }
        last_ = now;
        const std::int64_t percent = total > 0 ? done * 100 / total : 100;
        std::cerr << "glyfora-cli import: " << percent << "% (" << done << " of " << total
                  << " glyph steps)\n";
        return true;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// Where the fitting picture width is one the import can make, the option that makes it. The width
// is the row layout's; a compact picture only gets lower as it gets wider.
std::string MaxWidthAdvice(const import::ImportOptions& options,
                           const std::optional<std::int64_t>& width) {
    if (options.Layout == import::CellLayout::Compact) {
        return " (choose a larger --max-width, or 0 for a near-square picture)";
    }
    if (!width) {
        return {};
    }
    if (*width > import::MaxWidthRange.Max) {
        return " (more than --max-width allows; choose a smaller --size or fewer characters)";
    }
    return " (--max-width " + std::to_string(*width) + ")";
}

} // namespace

int RunImportCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    const document::Result<ImportArguments> arguments = ParseImportArguments(args);
    if (!arguments) {
        return UsageError(Usage, arguments.Error);
    }
    const ImportArguments& parsed = *arguments.Value;
    platform::GraphicsLibrary graphics;
    if (!platform::InitGraphicsLibrary(graphics)) {
        return Failure(Usage, "the text rasteriser (FreeType and fontconfig) could not be started");
    }
    const auto& options = parsed.Options;
    import::FontImportInput input;
    input.Codes = import::ReadFontCharacters(graphics, options.Family, options.Size);
    for (const import::FontKerningPair& pair :
         import::ReadFontKerningPairs(graphics, options.Family, options.Size)) {
        input.Pairs.push_back({pair.First, pair.Second, pair.Amount});
    }

    document::TypefaceRegistry registry;
    StderrProgress progress;
    const import::ImportResult result = import::CreateTypefaceFromFont(
        registry, ImportTypefaceId, options, input, graphics,
        [&](std::int64_t done, std::int64_t total) { return progress(done, total); }, parsed.Jobs);
    if (!result.Typeface) {
        return Failure(Usage, result.Error);
    }
    // The check the writer makes anyway, asked first so that the advice can name the option.
    const document::FieldCheck check = document::CheckFieldLimits(
        *result.Typeface, *document::FileFormatOf(document::FileFormatId::Tf).Limits);
    if (!check.Reason.empty()) {
        return Failure(Usage, check.Reason + MaxWidthAdvice(options, check.FittingWidth));
    }
    const document::Result<document::Done> saved =
        document::WriteTfFile(*result.Typeface, parsed.Output);
    if (!saved) {
        return Failure(Usage, saved.Error);
    }
    const auto& content = result.Typeface->Content;
    std::cout << parsed.Output << ": " << content.Characters.Size() << " characters, "
              << content.KerningPairs.Size() << " kerning pairs, " << content.Image->Width << " x "
              << content.Image->Height << " image\n";
    return ExitOk;
}

} // namespace glyfora::cli
