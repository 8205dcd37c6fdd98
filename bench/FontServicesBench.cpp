// Times the font services on one installed family and prints the figures, with opening the
// font file through the font matching as the baseline measured in the same run.
//   glyfora_font_services_bench [FAMILY] [SIZE]
#include "import/FontMatching.h"
#include "import/FontServices.h"
#include "platform/GraphicsLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 21;

// Median milliseconds of Runs calls of work.
template <typename Work> double MedianMilliseconds(Work work) {
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + Runs / 2, times.end());
    return times[Runs / 2];
}

} // namespace

int main(int argc, char** argv) {
    using namespace glyfora;
    const std::string family = argc > 1 ? argv[1] : "DejaVu Sans";
    const std::int64_t size = argc > 2 ? std::atoll(argv[2]) : 24;
    platform::GraphicsLibrary graphics;
    if (!platform::InitGraphicsLibrary(graphics)) {
        std::fprintf(stderr, "the text rasteriser did not start\n");
        return 1;
    }
    std::size_t count = 0;
    const double open = MedianMilliseconds([&] {
        const auto file = fontimport::MatchFontFile(family, 0);
        FT_Face face = nullptr;
        if (file &&
            FT_New_Face(graphics.Library, file->Path.c_str(), file->FaceIndex, &face) == 0) {
            FT_Done_Face(face);
        }
    });
    const double families = MedianMilliseconds([&] {
        std::vector<fontimport::FontFamilyEntry> list;
        if (fontimport::EnumerateFontFamilies(1, list)) {
            count = list.size();
        }
    });
    std::printf("families: %zu in %.2f ms\n", count, families);
    const double characters = MedianMilliseconds(
        [&] { count = fontimport::ReadFontCharacters(graphics, family, size).size(); });
    std::printf("characters of %s: %zu in %.2f ms\n", family.c_str(), count, characters);
    const double pairs = MedianMilliseconds(
        [&] { count = fontimport::ReadFontKerningPairs(graphics, family, size).size(); });
    std::printf("kerning pairs at %lld px: %zu in %.2f ms\n", static_cast<long long>(size), count,
                pairs);
    std::printf("baseline (match and open the font): %.2f ms; characters %.1fx, pairs %.1fx\n",
                open, characters / open, pairs / open);
    return 0;
}
