#include "cli/Commands.h"
#include "cli/ImportArguments.h"
#include "document/TypefaceFile.h"
#include "import/FontMatching.h"
#include "import/GlyphPacking.h"
#include "platform/GraphicsLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <chrono>
#include <iostream>

namespace glyfora::cli {

namespace {

constexpr std::int64_t ImportTypefaceId = 5;

int Failure(const std::string& message) {
    std::cerr << "glyfora-cli import: " << message << '\n';
    return 1;
}

// The codes the family's regular face covers, from its character map, in ascending order.
std::vector<std::uint16_t> ReadFontCodes(const platform::GraphicsLibrary& graphics,
                                         const std::string& family) {
    std::vector<std::uint16_t> codes;
    const auto file = import::MatchFontFile(family, 0);
    FT_Face face = nullptr;
    if (!file || FT_New_Face(graphics.Library, file->Path.c_str(), file->FaceIndex, &face) != 0) {
        return codes;
    }
    FT_UInt glyph = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &glyph); glyph != 0 && code < 0x10000;
         code = FT_Get_Next_Char(face, code, &glyph)) {
        codes.push_back(static_cast<std::uint16_t>(code));
    }
    FT_Done_Face(face);
    return codes;
}

// Shows how far a long import has got, at most four times a second, once it has run half a second.
class StderrProgress {
public:
    bool operator()(std::int64_t done, std::int64_t total) {
        const auto now = std::chrono::steady_clock::now();
        if (now - start_ < std::chrono::milliseconds(500) ||
            (printed_ && now - last_ < std::chrono::milliseconds(250) && done != total)) {
            return true;
        }
        last_ = now;
        printed_ = true;
        const std::int64_t percent = total > 0 ? done * 100 / total : 100;
        std::cerr << "\rglyfora-cli import: " << percent << "% (" << done << " of " << total
                  << " glyph steps)" << std::flush;
        return true;
    }
    void Finish() const {
        if (printed_) {
            std::cerr << '\n';
        }
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_ = start_;
    bool printed_ = false;
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
    import::FontImportInput input;
    input.Codes = ReadFontCodes(graphics, parsed.Options.Family);

    document::TypefaceRegistry registry;
    StderrProgress progress;
    import::ImportResult result = import::CreateTypefaceFromFont(
        registry, ImportTypefaceId, parsed.Options, input, graphics,
        [&](std::int64_t done, std::int64_t total) { return progress(done, total); });
    progress.Finish();
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
