// Times SpacingLayout on a 2048 x 2048 picture of 256 cells of 128 x 128 pixels (a full 8-bit
// grid), against a baseline measured in the same run: copying the picture's pixels once and
// remaking its sprite and flipped sprite, which SpacingLayout has to do anyway. The ratio shows
// what the per-pixel blending adds. Also times ScaleLayout over 65536 characters.
//
// Usage: glyfora_bench_layout [repetitions]

#include "document/LayoutOperations.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace glyfora::document;
using Clock = std::chrono::steady_clock;

constexpr std::int64_t CellSide = 128;
constexpr std::int64_t GridSide = 16 * CellSide;

// A typeface with a noisy picture (every alpha value, so the blend cannot take its shortcuts)
// and one character per grid cell.
void FillTypeface(Typeface& typeface) {
    Image image = MakeImage(GridSide, GridSide).value();
    std::uint32_t state = 0x12345678U;
    for (std::uint32_t& pixel : image.Pixels) {
        state = state * 1664525U + 1013904223U; // a linear congruential generator
        pixel = state;
    }
    SetCharacterSetImage(typeface, std::move(image));
    for (std::int64_t code = 0; code < 256; ++code) {
        Character& character = AddCharacter(typeface, code);
        character.Source = {(code % 16) * CellSide, (code / 16) * CellSide, CellSide, CellSide};
        character.Outlay = {0, 0, CellSide, CellSide};
    }
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    // Each sample times only the operation, on a fresh typeface.
    std::vector<double> copies;
    std::vector<double> spacings;
    for (int i = 0; i < repetitions; ++i) {
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        FillTypeface(typeface);
        auto start = Clock::now();
        SetCharacterSetImage(typeface, *typeface.Content.Image);
        copies.push_back(Milliseconds(start));
        start = Clock::now();
        if (!SpacingLayout(typeface, 2).Ok()) {
            std::fprintf(stderr, "SpacingLayout refused\n");
            return 1;
        }
        spacings.push_back(Milliseconds(start));
    }

    std::vector<double> scalings;
    {
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        for (std::int64_t code = 0; code < 65536; ++code) {
            Character& character = AddCharacter(typeface, code);
            character.Source = {code, code, 9, 13};
            character.Outlay = {-1, 2, 10, 16};
        }
        for (int i = 0; i < repetitions; ++i) {
            const auto start = Clock::now();
            if (!ScaleLayout(typeface, i % 2 == 0 ? 2.0F : 0.5F).Ok()) {
                std::fprintf(stderr, "ScaleLayout refused\n");
                return 1;
            }
            scalings.push_back(Milliseconds(start));
        }
    }

    const double copy = Median(copies);
    const double spacing = Median(spacings);
    std::printf("picture %lld x %lld, 256 cells, %d repetitions (medians)\n",
                static_cast<long long>(GridSide), static_cast<long long>(GridSide), repetitions);
    std::printf("baseline: copy picture + sprites   %8.2f ms\n", copy);
    std::printf("SpacingLayout(2)                   %8.2f ms   ratio %.2f\n", spacing,
                spacing / copy);
    std::printf("ScaleLayout, 65536 characters      %8.2f ms\n", Median(scalings));
    return 0;
}
