// Times an import of the characters of a game's text (a 2,000-character UTF-8 file made here:
// Latin and Cyrillic that DejaVu Sans draws, CJK that only WenQuanYi Zen Hei draws) from DejaVu
// Sans with WenQuanYi Zen Hei as fallback, against an import of every code below 0x10000 that
// DejaVu Sans covers, in the same run and the way glyfora-cli imports: read the text, choose the
// codes, measure, pack and draw. The goal is a ratio of at most 1.
//
//   glyfora_bench_characters [SIZE]

#include "BestTime.h"
#include "base/AtomicFile.h"
#include "base/Utf8.h"
#include "formats/TypefaceFile.h"
#include "import/CharacterList.h"
#include "import/ImportRun.h"
#include "platform/GraphicsLibrary.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace glyfora;

constexpr std::size_t TextCharacters = 2000;
constexpr std::uint32_t FirstIdeograph = 0x4E00;
constexpr std::uint32_t LastIdeograph = 0x9FFF;

std::string Utf8(std::uint32_t code) {
    return base::Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(code)));
}

// Latin and Cyrillic letters, then ideographs the fallback covers spread over the CJK block,
// written as lines of 40 characters.
std::string GameText(const platform::GraphicsLibrary& graphics) {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t code = 0x21; code <= 0x7E; ++code) {
        codes.push_back(code);
    }
    for (std::uint32_t code = 0x410; code <= 0x44F; ++code) {
        codes.push_back(code);
    }
    const auto cjk = fontimport::ReadFontCharacterRanges(graphics, "WenQuanYi Zen Hei", 24);
    for (std::uint32_t code = FirstIdeograph;
         code <= LastIdeograph && codes.size() < TextCharacters; code += 7) {
        if (fontimport::RangesCover(cjk, code)) {
            codes.push_back(code);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        text += Utf8(codes[i]) + (i % 40 == 39 ? "\n" : "");
    }
    return text;
}

// Imports as glyfora-cli does; writes the .tf file too when out is given.
std::size_t Import(const platform::GraphicsLibrary& graphics, fontimport::ImportOptions options,
                   const std::string& textFile, const std::string& out = {}) {
    if (!textFile.empty()) {
        const auto codes = fontimport::ReadCharacterFile(textFile);
        if (!codes) {
            std::fprintf(stderr, "%s\n", codes.Error.c_str());
            std::exit(1);
        }
        options.Characters = fontimport::FormatCharacterList(*codes.Value);
    }
    document::TypefaceRegistry registry;
    const fontimport::ImportOutcome result = fontimport::RunImport(graphics, registry, 5, options);
    if (!result.Typeface) {
        std::fprintf(stderr, "import failed: %s\n", result.Reason.c_str());
        std::exit(1);
    }
    if (!out.empty() && !formats::WriteTfFile(*result.Typeface, out).Ok()) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        std::exit(1);
    }
    return result.Typeface->Content.Characters.Size();
}

constexpr int Rounds = 5;

double ProcessorMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The best processor and wall times of a few runs, in milliseconds.
struct Times {
    double Processor = 1e300;
    double Wall = 1e300;
    void Add(const Times& run) {
        Processor = std::min(Processor, run.Processor);
        Wall = std::min(Wall, run.Wall);
    }
};

Times Timed(const std::function<void()>& work) {
    const double processorStart = ProcessorMs();
    Times run;
    run.Wall = bench::BestMs(1, work);
    run.Processor = ProcessorMs() - processorStart;
    return run;
}

} // namespace

int main(int argc, char** argv) {
    const int size = argc > 1 ? std::atoi(argv[1]) : 24;
    platform::GraphicsLibrary graphics;
    if (!platform::InitGraphicsLibrary(graphics)) {
        return 1;
    }
    const std::string text = GameText(graphics);
    const std::string textFile =
        (std::filesystem::temp_directory_path() / "glyfora-bench-game-text.txt").string();
    if (!base::WriteFileAtomically(textFile, std::vector<std::uint8_t>(text.begin(), text.end()))
             .Ok()) {
        std::fprintf(stderr, "cannot write %s\n", textFile.c_str());
        return 1;
    }
    fontimport::ImportOptions options;
    options.Family = "DejaVu Sans";
    options.Size = size;

    fontimport::ImportOptions listed = options;
    listed.Fallbacks = {"WenQuanYi Zen Hei"};
    fontimport::ImportOptions allBmp = options;
    allBmp.Unicode = true;
    std::size_t listedCount = 0;
    std::size_t allCount = 0;
    const std::string out =
        (std::filesystem::temp_directory_path() / "glyfora-bench-characters.tf").string();
    // Alternating runs, so that both see the same machine. Processor time as well as wall time:
    // on a shared machine the wall clock mostly measures the other processes.
    std::printf("size %d, best of %d, processor / wall time in ms\n", size, Rounds);
    for (const bool write : {false, true}) {
        Times listedTime;
        Times allTime;
        const std::string target = write ? out : std::string();
        for (int round = 0; round < Rounds; ++round) {
            listedTime.Add(
                Timed([&] { listedCount = Import(graphics, listed, textFile, target); }));
            allTime.Add(Timed([&] { allCount = Import(graphics, allBmp, {}, target); }));
        }
        const double ratio = listedTime.Processor / allTime.Processor;
        std::printf("%s\n", write ? "import and write the .tf file (glyfora-cli import)"
                                  : "import only (the editor's \"Create Typeface\")");
        std::printf("  text file + fallback: %zu characters, %.1f / %.1f\n", listedCount,
                    listedTime.Processor, listedTime.Wall);
        std::printf("  all BMP (--unicode):  %zu characters, %.1f / %.1f\n", allCount,
                    allTime.Processor, allTime.Wall);
        std::printf("  processor-time ratio %.2f (goal: at most 1.00) %s\n", ratio,
                    ratio <= 1.0 ? "met" : "NOT met");
    }
    std::filesystem::remove(textFile);
    std::filesystem::remove(out);
    return 0;
}
