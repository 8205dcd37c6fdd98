// Cost of the example text: layout and quad submission per glyph into a surface that does
// nothing, against a bare character lookup per glyph; and the software surface's cost per drawn
// pixel, against clearing the same number of pixels.

#include "views/ExampleTextRenderer.h"
#include "views/SoftwareQuadSurface.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace glyfora;

constexpr std::int64_t Id = 5;
constexpr std::size_t GlyphCount = 10000;

class NullSurface final : public views::QuadSurface {
public:
    void Clear(std::uint32_t) override {}
    void SetBlendMode(views::BlendFactor, views::BlendFactor) override {}
    void DrawQuad(const document::Sprite&, const document::Rect64& source,
                  const views::GlyphQuad& corners, std::int64_t, std::int64_t) override {
        Quads += 1;
        benchmark::DoNotOptimize(source);
        benchmark::DoNotOptimize(corners);
    }
    void SetDistanceDecoding(float) override {}
    std::int64_t Quads = 0;
};

// Printable ASCII in 8 × 12 cells of a 128 × 96 sprite, advance 9, line advance 14, and a few
// hundred kerning pairs, as an imported UI font would have.
document::Typeface& MakeBenchTypeface(document::TypefaceRegistry& registry, float scale) {
    document::Typeface& typeface = *document::CreateTypeface(registry, Id);
    document::Image image = *document::MakeImage(128, 96, 0x00FFFFFFU);
    for (std::size_t i = 0; i < image.Pixels.size(); i += 3) {
        image.Pixels[i] = 0xFFFFFFFFU;
    }
    document::SetCharacterSetImage(typeface, image);
    for (std::int64_t code = 32; code < 127; ++code) {
        document::Character& glyph = document::AddCharacter(typeface, code);
        const std::int64_t cell = code - 32;
        glyph.Outlay = {0, 1, 9, 14};
        glyph.Source = {(cell % 16) * 8, (cell / 16) * 12, 8, 12};
    }
    for (std::int64_t left = 65; left < 91; ++left) {
        for (std::int64_t right = 97; right < 123; right += 2) {
            document::AddKerningPair(typeface, left, right, -1);
        }
    }
    typeface.Settings.Scale = scale;
    return typeface;
}

std::u16string BenchText(std::size_t length) {
    constexpr std::u16string_view Words =
        u"The quick brown Fox jumps over the lazy Dog, AVATAR Wave To 1234. ";
    std::u16string text(length, u' ');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = i % 97 == 96 ? u'\n' : Words[i % Words.size()];
    }
    return text;
}

void LookupOnly(benchmark::State& state) {
    document::TypefaceRegistry registry;
    const document::Typeface& typeface = MakeBenchTypeface(registry, 1.0F);
    const std::u16string text = BenchText(GlyphCount);
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (char16_t code : text) {
            if (const document::Character* glyph = document::FindCharacter(typeface, code)) {
                sum += glyph->Outlay.Width;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(GlyphCount));
}
BENCHMARK(LookupOnly)->Name("baseline: character lookup per glyph");

void LayoutIntoNullSurface(benchmark::State& state) {
    document::TypefaceRegistry registry;
    document::Typeface& typeface = MakeBenchTypeface(registry, 1.0F);
    typeface.Settings.MaxLineWidth = static_cast<float>(state.range(0));
    const std::u16string text = BenchText(GlyphCount);
    NullSurface surface;
    for (auto _ : state) {
        views::DrawTypefaceText(registry, surface, Id, 10.0F, 10.0F, text);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(GlyphCount));
    state.counters["quads per text"] =
        static_cast<double>(surface.Quads) / static_cast<double>(state.iterations());
}
BENCHMARK(LayoutIntoNullSurface)->Name("layout of 10000 glyphs, no wrap")->Arg(0);
BENCHMARK(LayoutIntoNullSurface)->Name("layout of 10000 glyphs, wrap 780")->Arg(780);

void ClearPixels(benchmark::State& state) {
    views::SoftwareQuadSurface surface(state.range(0), state.range(0));
    for (auto _ : state) {
        surface.Clear(0x404040U);
        benchmark::DoNotOptimize(surface.Target.Pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(ClearPixels)->Name("baseline: clear, per pixel")->Arg(256);

// One glyph cell magnified onto a size × size square, blended per pixel.
void DrawPixels(benchmark::State& state) {
    document::TypefaceRegistry registry;
    const document::Typeface& typeface = MakeBenchTypeface(registry, 1.0F);
    const auto size = static_cast<float>(state.range(0));
    const float depthRight = state.range(1) != 0 ? -2.0F : -1.0F;
    views::SoftwareQuadSurface surface(state.range(0), state.range(0));
    const views::GlyphQuad quad{
        {{0, 0, -1}, {size, 0, depthRight}, {size, size, depthRight}, {0, size, -1}}};
    for (auto _ : state) {
        surface.DrawQuad(typeface.Content.Sprite, {8, 12, 8, 12}, quad, 255, views::NoTint);
        benchmark::DoNotOptimize(surface.Target.Pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(DrawPixels)->Name("software quad, per pixel, affine")->Args({256, 0});
BENCHMARK(DrawPixels)->Name("software quad, per pixel, perspective")->Args({256, 1});

// The command-line render: a frame of ordinary text at scale 1.
void DrawTextFrame(benchmark::State& state) {
    document::TypefaceRegistry registry;
    MakeBenchTypeface(registry, 1.0F);
    const std::u16string text = BenchText(2000);
    views::SoftwareQuadSurface surface(1600, 900);
    for (auto _ : state) {
        surface.Clear(0x404040U);
        views::DrawTypefaceText(registry, surface, Id, 10.0F, 10.0F, text);
        benchmark::DoNotOptimize(surface.Target.Pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(DrawTextFrame)->Name("software frame 1600 x 900, 2000 glyphs (per glyph)");

} // namespace

BENCHMARK_MAIN();
