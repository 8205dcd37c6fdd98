// Times one character-set view redraw of a 400 x 400 canvas over a large and a small character-set
// image at zooms 1, 8 and 64. The small image is the baseline: the redraw reads only the visible
// part of the image, so the ratio large / small should stay near 1.
//
// Usage: glyfora_bench_views [repetitions]

#include "views/CharacterSetView.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using glyfora::document::Image;
using glyfora::document::Typeface;
using glyfora::views::ViewState;

constexpr std::int64_t CanvasSize = 400;

// Pixels of every alpha value, so the redraw blends rather than copies most of them.
std::unique_ptr<Typeface> TypefaceWithNoise(std::int64_t side) {
    auto typeface = std::make_unique<Typeface>();
    Image image = glyfora::document::MakeImage(side, side).value();
    std::uint32_t state = 0x12345678U;
    for (std::uint32_t& pixel : image.Pixels) {
        state = state * 1664525U + 1013904223U; // a linear congruential generator
        pixel = state;
    }
    SetCharacterSetImage(*typeface, std::move(image));
    return typeface;
}

struct Timing {
    double MedianMicroseconds = 0;
    double BestMicroseconds = 0;
};

Timing TimeRedraws(const Typeface& typeface, std::int64_t zoom, int repetitions) {
    const std::int64_t side = typeface.Content.Image->Width;
    ViewState state;
    state.CharacterSetZoom = zoom;
    // Centre the view on the image, the way selecting a character in the list does.
    state.ScrollX = std::max<std::int64_t>(0, side / 2 - CanvasSize / zoom / 2);
    state.ScrollY = state.ScrollX;
    state.Selection = {state.ScrollX + 1, state.ScrollY + 1, 5, 5};
    Image canvas;
    glyfora::views::DrawCharacterSetView(canvas, CanvasSize, CanvasSize, &typeface, state, true);

    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        glyfora::views::DrawCharacterSetView(canvas, CanvasSize, CanvasSize, &typeface, state,
                                             true);
        const auto stop = std::chrono::steady_clock::now();
        samples.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front()};
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const auto large = TypefaceWithNoise(4096);
    const auto small = TypefaceWithNoise(512);

    std::printf("DrawCharacterSetView, %lld x %lld canvas, %d redraws each (microseconds)\n",
                static_cast<long long>(CanvasSize), static_cast<long long>(CanvasSize),
                repetitions);
    std::printf("%6s %14s %12s %14s %12s %13s\n", "zoom", "4096 median", "4096 best", "512 median",
                "512 best", "median ratio");
    for (const std::int64_t zoom : {1, 8, 64}) {
        const Timing onLarge = TimeRedraws(*large, zoom, repetitions);
        const Timing onSmall = TimeRedraws(*small, zoom, repetitions);
        std::printf("%6lld %14.1f %12.1f %14.1f %12.1f %13.2f\n", static_cast<long long>(zoom),
                    onLarge.MedianMicroseconds, onLarge.BestMicroseconds,
                    onSmall.MedianMicroseconds, onSmall.BestMicroseconds,
                    onLarge.MedianMicroseconds / onSmall.MedianMicroseconds);
    }
    return 0;
}
