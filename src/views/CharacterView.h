#pragma once

#include "document/Typeface.h"
#include "views/ViewCanvas.h"
#include "views/ViewState.h"
#include "views/ViewUpdate.h"

#include <cstdint>

namespace glyfora::views {

// Margin around the content of the character and kerning-pair views, in units of CharacterZoom
// canvas pixels.
constexpr std::int64_t ViewMargin = 4;

constexpr std::uint32_t OutlayFrameColour = 0xFF00C040;

// The character view of state.CurrentCharacter G: hidden without one; otherwise a canvas of
// (G.Source.Width + 8) x (G.Source.Height + 8) units showing the cell magnified at (4, 4) units and
// a frame around its layout box (4 - Outlay.X, 4 - Outlay.Y, Outlay.Width, Outlay.Height). A cell
// with no width or height (negative counts as none) shows just the layout box. Units are
// CharacterZoom pixels (within 1..MaxZoom); each canvas side is cut off at MaxCanvasSide.
[[nodiscard]] ViewPicture DrawCharacterView(const document::Typeface* typeface,
                                            const ViewState& state);

// The wheel over the character or the kerning-pair canvas: zooms CharacterZoom like the
// character-set view's wheel and redraws both views; the widget then activates its own window.
[[nodiscard]] ViewUpdate OnCharacterZoomWheel(ViewState& state, int notches);

} // namespace glyfora::views
