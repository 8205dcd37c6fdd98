#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportArguments.h"
#include "formats/TypefaceFile.h"
#include "import/CharacterList.h"
#include "import/ImportRun.h"
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
    "unless --unicode, or the characters --chars and --chars-file name), its kerning pairs,\n"
    "measured metrics and a packed character-set image, saved as a .tf file. Options and\n"
    "defaults are the import window's:\n"
    "  --family NAME         font family (required unless --font-file)\n"
    "  --font-file PATH      a font file instead of the family: TrueType, OpenType, a\n"
    "                        collection (.ttc, .otc) or WOFF; the \"FontFile\" property\n"
    "                        records its name\n"
    "  --face-index N        the face of a collection, from 0 (0)\n"
    "  --instance NAME       a named instance of a variable font, such as \"Bold\"\n"
    "  --axis TAG=VALUE      an axis of a variable font at a design value, such as wght=650;\n"
    "                        repeat for more, applied after --instance\n"
    "  --size N              em size in pixels, 0..128 (0 makes no font) (required)\n"
    "  --bold --italic --underline\n"
    "  --unicode             every covered character and pair, not only codes up to 255\n"
    "  --chars LIST          exactly these characters (instead of --unicode): codes and ranges\n"
    "                        such as \"32-126, 0xA0-0xFF, U+0400-U+04FF\" (decimal, 0x or U+ hex)\n"
    "  --chars-file FILE     every distinct character of a UTF-8 text file (line breaks left\n"
    "                        out); --chars and --chars-file repeat and add up. Listed codes\n"
    "                        above U+FFFF or in none of the fonts are left out with a warning,\n"
    "                        and only kerning pairs of two taken characters are kept\n"
    "  --fallback FAMILY     a font (a family or a file) for the characters the main font\n"
    "                        lacks; repeat for more,\n"
    "                        the first that covers a character draws it (same size, main\n"
    "                        font's baseline, its own advance); the typeface's \"Fallbacks\"\n"
    "                        property names those used, separated by \", \"\n"
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
    "  --page-size N|WxH     fill compact pages of N x N (or W x H) pixels, powers of two from\n"
    "                        64 to 16384, stacked top to bottom, no cell across a page's edge;\n"
    "                        recorded as the \"PageSize\" property, so a BMFont save writes one\n"
    "                        picture per page (none: one picture)\n"
    "  --hint N              0 SystemDefault, 1 SingleBitPerPixelGridFit, 2 SingleBitPerPixel,\n"
    "                        3 AntiAliasGridFit, 4 AntiAlias, 5 ClearTypeGridFit (4)\n"
    "  --quality N           0 Invalid, 1 Default, 2 HighSpeed, 3 HighQuality,\n"
    "                        4 GammaCorrected, 5 AssumeLinear (5)\n"
    "  --outline W[,COLOUR]  an outline W pixels wide around each glyph, 0..32, fractions\n"
    "                        allowed (colour #000000)\n"
    "  --outline-join round|sharp  the outline's corners (round)\n"
    "  --shadow DX,DY[,BLUR[,COLOUR]]  a shadow of the glyph and its outline, moved DX, DY\n"
    "                        pixels (-32..32) and blurred BLUR pixels (0..32; 0), colour\n"
    "                        #00000099; a glow is a shadow 0,0 with a blur\n"
    "  --fill COLOUR         the glyphs' colour (#FFFFFF)\n"
    "  --gradient TOP,BOTTOM a vertical fill over the font's line box, the same for all glyphs\n"
    "  --sdf SPREAD          a signed distance field instead of coverage, R=G=B=A, 128 at the\n"
    "                        edge, SPREAD pixels (1..32) to either end; not with the effects\n"
    "                        Colours are #RRGGBB or #RRGGBBAA. Effects grow every cell and\n"
    "                        move its offsets; advances, line height and kerning stay the same\n"
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

// Where the fitting picture width is one the import can make, the option that makes it; else
// what else to change.
std::string MaxWidthAdvice(const std::optional<std::int64_t>& width, bool paged) {
    if (paged) {
        return " (choose a larger --page-size, a smaller --size or fewer characters)";
    }
    if (!width || *width > document::MaxWidthOption.Range.Max) {
        return " (no --max-width makes it fit; choose a smaller --size or fewer characters)";
    }
    return " (--max-width " + std::to_string(*width) + ")";
}

// The import's character list: the codes of the --chars lists and the --chars-file files, as
// ranges. Fails when a file cannot be read, or when lists and files name no character at all (an
// import of "no list" would take quite other characters).
base::Result<std::string> CharacterList(const ImportArguments& parsed) {
    const base::Result<std::vector<std::uint32_t>> codes =
        fontimport::AddCharacterFiles(parsed.ListedCharacters, parsed.CharacterFiles);
    if (!codes) {
        return base::Failure{codes.Error};
    }
    const bool listed = parsed.CharactersListed || !parsed.CharacterFiles.empty();
    if (listed && codes.Value->empty()) {
        return base::Failure{"--chars and --chars-file name no characters"};
    }
    return fontimport::FormatCharacterList(*codes.Value);
}

} // namespace

int RunImportCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    const base::Result<ImportArguments> arguments = ParseImportArguments(args);
    if (!arguments) {
        return UsageError(Usage, arguments.Error);
    }
    const ImportArguments& parsed = *arguments.Value;
    platform::GraphicsLibrary graphics;
    if (!platform::InitGraphicsLibrary(graphics)) {
        return Failure(Usage, "the text rasteriser (FreeType and fontconfig) could not be started");
    }
    fontimport::ImportOptions options = parsed.Options;
    const base::Result<std::string> characters = CharacterList(parsed);
    if (!characters) {
        return Failure(Usage, characters.Error);
    }
    options.Characters = *characters.Value;
    document::TypefaceRegistry registry;
    StderrProgress progress;
    fontimport::ImportOutcome outcome = fontimport::RunImport(
        graphics, registry, ImportTypefaceId, options,
        [&](std::int64_t done, std::int64_t total) { return progress(done, total); }, parsed.Jobs);
    for (const std::string& warning : outcome.Warnings) {
        Warn(Usage, warning);
    }
    if (outcome.End != fontimport::ImportEnd::Created) {
        return Failure(Usage, outcome.Reason);
    }
    if (outcome.Advice) {
        return Failure(Usage,
                       outcome.Advice->Reason +
                           MaxWidthAdvice(outcome.Advice->FittingWidth,
                                          parsed.Options.Layout == document::CellLayout::Compact &&
                                              parsed.Options.Pages));
    }
    const document::Typeface& typeface = *outcome.Typeface;
    const base::Result<base::Done> saved = formats::WriteTfFile(typeface, parsed.Output);
    if (!saved) {
        return Failure(Usage, saved.Error);
    }
    const auto& content = typeface.Content;
    std::cout << parsed.Output << ": " << content.Characters.Size() << " characters, "
              << content.KerningPairs.Size() << " kerning pairs, " << content.Image->Width << " x "
              << content.Image->Height << " image\n";
    return ExitOk;
}

} // namespace glyfora::cli
