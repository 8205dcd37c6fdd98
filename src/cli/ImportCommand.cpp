#include "cli/Commands.h"
#include "cli/ImportArguments.h"
#include "document/TypefaceFile.h"
#include "import/FontServices.h"
#include "import/GlyphPacking.h"
#include "platform/GraphicsLibrary.h"

#include <chrono>
#include <iostream>

namespace glyfora::cli {

namespace {

constexpr std::int64_t ImportTypefaceId = 5;

int Failure(const std::string& message) {
    std::cerr << "glyfora-cli import: " << message << '\n';
    return 1;
}

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

} // namespace

int RunImportCommand(const std::vector<std::string>& args) {
    const ImportArguments parsed = ParseImportArguments(args);
    if (parsed.Help) {
        std::cout << ImportUsage();
        return 0;
    }
    if (!parsed.Error.empty()) {
        std::cerr << "glyfora-cli import: " << parsed.Error << '\n' << ImportUsage();
        return 2;
    }
    platform::GraphicsLibrary graphics;
    if (!platform::InitGraphicsLibrary(graphics)) {
        return Failure("the text rasteriser (FreeType and fontconfig) could not be started");
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
    import::ImportResult result = import::CreateTypefaceFromFont(
        registry, ImportTypefaceId, options, input, graphics,
        [&](std::int64_t done, std::int64_t total) { return progress(done, total); });
    if (!result.Typeface) {
        return Failure(result.Error);
    }
    const document::SaveResult saved = document::WriteTfFile(*result.Typeface, parsed.Output);
    if (!saved.Saved) {
        return Failure(saved.Error);
    }
    const auto& content = result.Typeface->Content;
    std::cout << parsed.Output << ": " << content.Characters.Size() << " characters, "
              << content.KerningPairs.Size() << " kerning pairs, " << content.Image->Width << " x "
              << content.Image->Height << " image\n";
    return 0;
}

} // namespace glyfora::cli
