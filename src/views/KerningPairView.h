#pragma once

#include "document/Typeface.h"
#include "views/ViewCanvas.h"
#include "views/ViewState.h"

#include <cstdint>

namespace glyfora::views {

constexpr std::uint32_t AdvanceBarColour = 0xFF00C0FF;

// The kerning-pair view of state.CurrentPair P with its characters L = code Left and R = code
// Right of typeface: hidden when any of them is missing. Otherwise, in units of CharacterZoom
// pixels, a canvas (L.Outlay.Width + R.Outlay.Width + P.Amount + 8) wide and
// (max(L.Outlay.Height, R.Outlay.Height) + 8) high showing L's cell at (L.Outlay.X + 4,
// L.Outlay.Y + 4), R's cell at the pen L.Outlay.Width + P.Amount + 4 plus R.Outlay.X, and under
// each an advance bar one unit high (the left one at L.Outlay.Y + L.Outlay.Height + 5, the right
// one at R.Outlay.Y + R.Outlay.Height + 6). When either size is 0 or less the view stays shown but
// draws nothing on a canvas of one unit in that direction. Each side is cut off at MaxCanvasSide.
[[nodiscard]] ViewPicture DrawKerningPairView(const document::Typeface* typeface,
                                              const ViewState& state);

} // namespace glyfora::views
