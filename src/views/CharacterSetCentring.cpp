#include "views/CharacterSetCentring.h"

#include "views/ViewCanvas.h"

namespace glyfora::views {
namespace {

std::int64_t CentredScroll(std::int64_t cellStart, std::int64_t cellSize, std::int64_t canvasSize,
                           std::int64_t imageSize, std::int64_t zoom) {
    const std::int64_t visible = canvasSize / zoom;
    const std::int64_t wanted = SaturatingAdd(SaturatingSub(cellStart, visible / 2), cellSize / 2);
    return ClampRange(wanted, SaturatingSub(imageSize, visible), 0);
}

} // namespace

void CentreCharacterSetView(ViewState& state, const document::Rect64& cell,
                            std::int64_t canvasWidth, std::int64_t canvasHeight,
                            const document::Image* image) {
    const std::int64_t zoom = EffectiveZoom(state.CharacterSetZoom);
    const std::int64_t imageWidth = image != nullptr ? image->Width : 0;
    const std::int64_t imageHeight = image != nullptr ? image->Height : 0;
    state.ScrollX = CentredScroll(cell.X, cell.Width, canvasWidth, imageWidth, zoom);
    state.ScrollY = CentredScroll(cell.Y, cell.Height, canvasHeight, imageHeight, zoom);
}

} // namespace glyfora::views
