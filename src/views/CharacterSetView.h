#pragma once

#include "document/Image.h"
#include "document/Typeface.h"
#include "views/ViewState.h"

#include <cstdint>

namespace glyfora::views {

constexpr std::uint32_t SelectionFrameColour = 0xFF4000FF;
constexpr std::uint32_t ScrollMarkerColour = 0x80FFFFFF;
constexpr std::int64_t ScrollMarkerThickness = 10;

// Blends a two-pixel frame of colour just outside the rectangle (x, y, w, h) in canvas pixels: the
// one-pixel outlines of (x - 1, y - 1, w + 2, h + 2) and (x - 2, y - 2, w + 4, h + 4), each
// normalised on its own when its width or height is negative. The rectangle itself is untouched.
void DrawThickFrame(document::Image& canvas, std::int64_t x, std::int64_t y, std::int64_t w,
                    std::int64_t h, std::uint32_t colour);

// Draws the character-set view into canvas, which takes the size canvasWidth x canvasHeight (each
// kept within 0..MaxCanvasSide; the buffer is reused between redraws): the background, the visible
// part of the typeface's Image (none: no picture) magnified CharacterSetZoom times from (ScrollX,
// ScrollY), the selection frame, and with showScrollMarks the scroll markers of an image larger
// than the canvas. Only the visible part of the image is read, so the cost follows the canvas size.
// The widget shows canvas as it is (RGBA, rows top to bottom, no padding).
void DrawCharacterSetView(document::Image& canvas, std::int64_t canvasWidth,
                          std::int64_t canvasHeight, const document::Typeface* typeface,
                          const ViewState& state, bool showScrollMarks);

} // namespace glyfora::views
