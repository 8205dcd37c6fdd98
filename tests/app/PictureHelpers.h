#pragma once

#include "document/Image.h"
#include "document/Typeface.h"

#include <QImage>
#include <cstdint>
#include <string>
#include <string_view>

namespace glyfora::app::test {

constexpr std::int64_t Id = 5;
constexpr std::u16string_view Letters = u"AVWagjy.";
// Two lines of the letters with spaces and kerned pairs.
constexpr std::u16string_view SampleText = u"AVWagjy. AV\nyjgaWVA .y";

// Where OpenGL may differ from the software surface: pixels whose channels differ by more than
// the tolerance count as differing, and at most this share of the pixels may (rasterisers round
// texel positions on exact boundaries differently, and blending rounds once in float instead of
// twice in integers).
constexpr int OpenGlChannelTolerance = 2;
constexpr double OpenGlDifferingShare = 0.01;

// A typeface of eight letters whose 10 × 14 cells lie at irregular places of a 96 × 48 sprite
// (so that 16-texel tiles cut through most of them). Every texel has its own colour; alpha varies
// over the cell from fully transparent to opaque, and the cells are separated by bright texels
// that show any bleeding. Letters advance 9 (they overlap by one pixel), the space sets the line
// height 18, and A V kerns by -2.
document::Typeface& MakeTestTypeface(document::TypefaceRegistry& registry);

// A QImage of any format as an RGBA picture.
[[nodiscard]] document::Image ToImage(const QImage& image);

struct Difference {
    std::int64_t Pixels = 0;    // pixels compared
    std::int64_t Differing = 0; // pixels with a channel differing by more than the tolerance
    int Largest = 0;            // largest channel difference seen
    bool SizesMatch = false;
};

// Compares two pictures channel by channel.
[[nodiscard]] Difference Compare(const document::Image& left, const document::Image& right,
                                 int tolerance);

[[nodiscard]] std::string Describe(const Difference& difference);

// Pixels that differ from colour (alpha ignored).
[[nodiscard]] std::int64_t CountOtherThan(const document::Image& image, std::uint32_t colour);

} // namespace glyfora::app::test
