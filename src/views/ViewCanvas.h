#pragma once

#include "document/Image.h"
#include "document/Typeface.h"

#include <cstdint>
#include <limits>

namespace glyfora::views {

// Largest side of any view canvas, in pixels. The character and kerning-pair views size their
// canvas from metrics a user can set to 4000 units at zoom 64 (256 000 pixels); a canvas is cut off
// at this side instead, which keeps one picture at most 64 MiB.
constexpr std::int64_t MaxCanvasSide = 4096;

// Background of every view, painted opaque.
constexpr std::uint32_t ViewBackground = 0xFF404040;

// 64-bit arithmetic that stops at the ends of the range instead of overflowing: view geometry
// multiplies metrics from files (any 32-bit value, amounts any 64-bit value) by the zoom.
[[nodiscard]] constexpr std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    }
    return sum;
}

[[nodiscard]] constexpr std::int64_t SaturatingSub(std::int64_t a, std::int64_t b) {
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference)) {
        return b < 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    }
    return difference;
}

[[nodiscard]] constexpr std::int64_t SaturatingMul(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) {
        return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                                  : std::numeric_limits<std::int64_t>::max();
    }
    return product;
}

// The zoom a view draws with: the stored value kept within 1..MaxZoom, so a damaged setting can
// neither divide by zero nor blow up the picture.
[[nodiscard]] std::int64_t EffectiveZoom(std::int64_t zoom);

// A requested canvas side kept within 0..MaxCanvasSide.
[[nodiscard]] std::int64_t CanvasSide(std::int64_t side);

// Gives canvas the size width x height (each kept within 0..MaxCanvasSide), reusing its buffer,
// and fills it with colour without blending.
void ResetCanvas(document::Image& canvas, std::int64_t width, std::int64_t height,
                 std::uint32_t colour);

// Blends a filled box of colour onto canvas. A negative width starts the box at x + w and makes it
// -w wide (likewise the height); what lies outside the canvas is not drawn.
void BlendBox(document::Image& canvas, std::int64_t x, std::int64_t y, std::int64_t w,
              std::int64_t h, std::uint32_t colour);

// Blends the one-pixel outline of a rectangle (normalised like BlendBox) onto canvas; each pixel
// of the outline is blended once.
void BlendOutline(document::Image& canvas, std::int64_t x, std::int64_t y, std::int64_t w,
                  std::int64_t h, std::uint32_t colour);

// Blends the rectangle area of source, enlarged zoom times by pixel replication, onto canvas with
// its top-left corner at (x, y). Parts of area outside source, and a missing source, count as
// fully transparent. Costs in proportion to the covered canvas pixels, never to the source size.
void BlendMagnified(document::Image& canvas, const document::Image* source,
                    const document::Rect64& area, std::int64_t x, std::int64_t y,
                    std::int64_t zoom);

// What the character and kerning-pair views hand to their widget: whether the window is shown,
// the size the canvas and the window's inner area take, and the picture of that size. A hidden
// view has no picture; its widget keeps its size and shows the background.
struct ViewPicture {
    bool Visible = false;
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    document::Image Picture;
};

} // namespace glyfora::views
