#include "document/TypefaceRepacking.h"
#include "views/ExampleTextRenderer.h"
#include "views/SoftwareQuadSurface.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace glyfora::views {
namespace {

using document::Rect64;
using document::Typeface;

constexpr std::int64_t Id = 5;

// A picture of random ink: a third of the pixels transparent (with colour left in them), the rest
// opaque or half-transparent in random colours.
document::Image Noise(std::int64_t width, std::int64_t height, unsigned seed) {
    std::mt19937 random(seed);
    document::Image picture = *document::MakeImage(width, height);
    for (std::uint32_t& pixel : picture.Pixels) {
        const std::uint32_t colour = random() & 0xFFFFFFU;
        const std::uint32_t alpha[] = {0, 0x80, 0xFF};
        pixel = colour | (alpha[random() % 3] << 24);
    }
    return picture;
}

// Clears a margin of every cell so that cropping has something to do.
void ClearOutside(document::Image& picture, const Rect64& ink) {
    for (std::int64_t y = 0; y < picture.Height; ++y) {
        for (std::int64_t x = 0; x < picture.Width; ++x) {
            if (x < ink.X || y < ink.Y || x >= ink.X + ink.Width || y >= ink.Y + ink.Height) {
                picture.At(x, y) &= 0x00FFFFFFU;
            }
        }
    }
}

void Add(Typeface& typeface, std::int64_t code, Rect64 source, Rect64 outlay) {
    document::Character& character = document::AddCharacter(typeface, code);
    character.Source = source;
    character.Outlay = outlay;
}

// Codes 33.. in a 16-column grid of 10 × 14 cells whose ink keeps off the cells' edges, a space
// and kerning pairs: what the row import makes.
void RowLayout(Typeface& typeface) {
    document::Image picture = Noise(160, 28, 1);
    for (std::int64_t y = 0; y < picture.Height; ++y) {
        for (std::int64_t x = 0; x < picture.Width; ++x) {
            if (x % 10 < 2 || x % 10 > 7 || y % 14 < 3 || y % 14 > 11) {
                picture.At(x, y) &= 0x00FFFFFFU;
            }
        }
    }
    document::SetCharacterSetImage(typeface, picture);
    for (std::int64_t code = 33; code < 33 + 32; ++code) {
        const std::int64_t cell = code - 33;
        Add(typeface, code, {cell % 16 * 10, cell / 16 * 14, 10, 14}, {code % 3 - 1, 2, 9, 18});
    }
    Add(typeface, 32, {0, 0, 0, 0}, {0, 0, 6, 18});
    document::AddKerningPair(typeface, 33, 34, -2);
    document::AddKerningPair(typeface, 35, 36, 3);
}

// Cells reaching past every edge of the picture, and one wholly outside it.
void PartlyOutside(Typeface& typeface) {
    document::SetCharacterSetImage(typeface, Noise(40, 30, 2));
    Add(typeface, 33, {-5, -3, 12, 12}, {0, 0, 10, 20});
    Add(typeface, 34, {34, 25, 12, 12}, {-2, 1, 10, 20});
    Add(typeface, 35, {10, 20, 12, 40}, {1, -3, 10, 20});
    Add(typeface, 36, {100, 100, 8, 8}, {0, 0, 10, 20});
    Add(typeface, 32, {0, 0, 0, 0}, {0, 0, 5, 20});
}

// Lower case sharing the cells of upper case, and cells overlapping one another.
void SharedAndOverlapping(Typeface& typeface) {
    document::Image picture = Noise(48, 16, 3);
    ClearOutside(picture, {2, 2, 40, 12});
    document::SetCharacterSetImage(typeface, picture);
    for (std::int64_t code = 65; code < 70; ++code) {
        const Rect64 cell{(code - 65) * 8, 0, 14, 16}; // each overlaps the next
        Add(typeface, code, cell, {0, 1, 9, 18});
        Add(typeface, code + 32, cell, {0, 1, 9, 18});
    }
}

// Two pages stacked into one picture as a ".fnt" is read, and cells of a page that was missing,
// which lie below the picture.
void StackedPages(Typeface& typeface) {
    document::Image picture = Noise(32, 64, 4);
    ClearOutside(picture, {1, 1, 30, 62});
    document::SetCharacterSetImage(typeface, picture);
    for (std::int64_t i = 0; i < 8; ++i) {
        Add(typeface, 48 + i, {i % 4 * 8, i / 4 * 32 + 4, 8, 24}, {0, -2, 8, 26});
    }
    Add(typeface, 60, {0, 64, 8, 24}, {0, 0, 8, 26});
}

void WithoutInk(Typeface& typeface) {
    document::SetCharacterSetImage(typeface, document::MakeImage(16, 16, 0x00FF00FFU));
    Add(typeface, 65, {0, 0, 8, 8}, {0, 0, 8, 10});
    Add(typeface, 66, {8, 8, 8, 8}, {0, 0, 8, 10});
}

document::Image Render(document::TypefaceRegistry& registry, float scale) {
    std::u16string text;
    for (const document::Character& c :
         document::TypefaceFromId(registry, Id)->Content.Characters) {
        text += static_cast<char16_t>(c.Index);
    }
    text += u'\n' + std::u16string(text.rbegin(), text.rend());
    SoftwareQuadSurface surface(640, 160);
    surface.Clear(0x404040);
    surface.SetBlendMode(BlendFactor::SourceAlpha, BlendFactor::OneMinusSourceAlpha);
    DrawTypefaceText(registry, surface, Id, 10.0F, 10.0F, text, DefaultIntegerArgument,
                     DefaultIntegerArgument, scale);
    return surface.Target;
}

TEST(TypefaceRepackingRender, TextIsDrawnWithTheSamePixelsBeforeAndAfter) {
    struct Case {
        const char* Name;
        std::function<void(Typeface&)> Make;
        document::PackingRules Rules;
        bool Shrinks = true; // overlapping cells are copied apart, so their picture grows
    };
    const Case cases[] = {
        {"row layout", RowLayout, {}},
        {"row layout, no gutter, power of two", RowLayout, {0, 0, true, {}}},
        {"cells partly outside the picture", PartlyOutside, {2, 64, false, {}}},
        {"shared and overlapping cells", SharedAndOverlapping, {}, false},
        {"stacked pages, one missing", StackedPages, {1, 16, false, {}}},
        {"no ink at all", WithoutInk, {}},
        {"row layout into pages of 64", RowLayout, {1, 0, false, document::PageSize{64, 64}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        document::TypefaceRegistry registry;
        Typeface& typeface = *document::CreateTypeface(registry, Id);
        c.Make(typeface);
        const document::Image before[] = {Render(registry, 1.0F), Render(registry, 2.0F)};
        const std::int64_t area = typeface.Content.Image->Width * typeface.Content.Image->Height;
        ASSERT_TRUE(document::PackCompactly(typeface, c.Rules).Ok());
        EXPECT_EQ(typeface.Content.Image->Width * typeface.Content.Image->Height < area, c.Shrinks);
        EXPECT_TRUE(before[0].Pixels == Render(registry, 1.0F).Pixels);
        EXPECT_TRUE(before[1].Pixels == Render(registry, 2.0F).Pixels);
    }
}

} // namespace
} // namespace glyfora::views
