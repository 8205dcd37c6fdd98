#pragma once

#include "document/Image.h"
#include "document/Typeface.h"
#include "views/ViewState.h"

#include <cstdint>

namespace glyfora::views {

// Scrolls the character-set view so that cell sits in the middle of a canvas of canvasWidth x
// canvasHeight pixels at CharacterSetZoom: ScrollX = ClampRange(cell.X - (canvasWidth / zoom) / 2 +
// cell.Width / 2, image width - canvasWidth / zoom, 0), ScrollY likewise, every division truncating
// toward zero. A missing image counts as 0 x 0, which scrolls to 0.
void CentreCharacterSetView(ViewState& state, const document::Rect64& cell,
                            std::int64_t canvasWidth, std::int64_t canvasHeight,
                            const document::Image* image);

} // namespace glyfora::views
