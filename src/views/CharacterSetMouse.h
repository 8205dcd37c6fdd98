#pragma once

#include "document/Typeface.h"
#include "views/ViewState.h"
#include "views/ViewUpdate.h"

#include <cstdint>

namespace glyfora::views {

// A new selection is drawn only once the pointer is more than this many image pixels to the right
// of or below the pressed point.
constexpr std::int64_t DragThreshold = 2;

// Mouse handling of the character-set canvas. Positions px, py are canvas pixels (negative or
// beyond the canvas while the mouse is captured); the image point under the pointer is
// px / zoom + ScrollX, py / zoom + ScrollY with divisions truncating toward zero. Each handler
// changes state and returns what the widget must redraw and which pointer shape to set.

// Starts a selection at the image point: its X and Y move there, Width and Height stay.
[[nodiscard]] ViewUpdate OnCharacterSetLeftDown(ViewState& state, std::int64_t px, std::int64_t py);

// Pans first (while the middle button is held), then extends the selection (while the left button
// is held) once the drag passes DragThreshold in either direction; both need the typeface to have
// an Image. canvasWidth x canvasHeight is the canvas's current size.
[[nodiscard]] ViewUpdate OnCharacterSetMove(ViewState& state, const document::Typeface* typeface,
                                            std::int64_t px, std::int64_t py,
                                            std::int64_t canvasWidth, std::int64_t canvasHeight);

[[nodiscard]] ViewUpdate OnCharacterSetLeftUp(ViewState& state);

// Sets the selection's far corner at the image point (Width and Height may become negative).
[[nodiscard]] ViewUpdate OnCharacterSetRightDown(ViewState& state, std::int64_t px,
                                                 std::int64_t py);

// Grabs the image point for panning; nothing is redrawn until the pointer moves.
[[nodiscard]] ViewUpdate OnCharacterSetMiddleDown(ViewState& state, std::int64_t px,
                                                  std::int64_t py);

// Ends panning; the redraw removes the scroll markers.
[[nodiscard]] ViewUpdate OnCharacterSetMiddleUp(ViewState& state);

// Halves the zoom for notches towards the user (negative), doubles it for notches away from the
// user (positive), within 1..MaxZoom; only the sign counts.
[[nodiscard]] ViewUpdate OnCharacterSetWheel(ViewState& state, int notches);

} // namespace glyfora::views
