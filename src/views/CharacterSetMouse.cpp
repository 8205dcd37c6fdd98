#include "views/CharacterSetMouse.h"

#include "views/ViewCanvas.h"

namespace glyfora::views {
namespace {

std::int64_t ImagePoint(std::int64_t position, std::int64_t zoom, std::int64_t scroll) {
    return SaturatingAdd(position / zoom, scroll);
}

ViewUpdate RedrawCharacterSet() {
    ViewUpdate update;
    update.CharacterSet = true;
    return update;
}

} // namespace

ViewUpdate OnCharacterSetLeftDown(ViewState& state, std::int64_t px, std::int64_t py) {
    const std::int64_t zoom = EffectiveZoom(state.CharacterSetZoom);
    state.Selection.X = ImagePoint(px, zoom, state.ScrollX);
    state.Selection.Y = ImagePoint(py, zoom, state.ScrollY);
    state.SelectionShown = true;
    state.Selecting = true;
    ViewUpdate update = RedrawCharacterSet();
    update.CharacterView = true;
    return update;
}

ViewUpdate OnCharacterSetMove(ViewState& state, const document::Typeface* typeface, std::int64_t px,
                              std::int64_t py, std::int64_t canvasWidth,
                              std::int64_t canvasHeight) {
    ViewUpdate update;
    if (typeface == nullptr || !typeface->Content.Image) {
        return update;
    }
    const document::Image& image = *typeface->Content.Image;
    const std::int64_t zoom = EffectiveZoom(state.CharacterSetZoom);
    if (state.Panning) {
        // An image smaller than the visible area always scrolls back to 0.
        state.ScrollX = ClampRange(SaturatingSub(state.PanAnchorX, px / zoom),
                                   image.Width - CanvasSide(canvasWidth) / zoom, 0);
        state.ScrollY = ClampRange(SaturatingSub(state.PanAnchorY, py / zoom),
                                   image.Height - CanvasSide(canvasHeight) / zoom, 0);
        update.CharacterSet = true;
        update.ScrollMarks = true;
    }
    if (state.Selecting) {
        // Measured after the pan, so the corner is the image point that is under the pointer now.
        const std::int64_t dx =
            SaturatingSub(ImagePoint(px, zoom, state.ScrollX), state.Selection.X);
        const std::int64_t dy =
            SaturatingSub(ImagePoint(py, zoom, state.ScrollY), state.Selection.Y);
        if (dx > DragThreshold || dy > DragThreshold) {
            state.Selection.Width = dx;
            state.Selection.Height = dy;
            update.CharacterSet = true;
            update.ScrollMarks = false; // this later redraw replaces the panning one
        }
    }
    return update;
}

ViewUpdate OnCharacterSetLeftUp(ViewState& state) {
    state.Selecting = false;
    return RedrawCharacterSet();
}

ViewUpdate OnCharacterSetRightDown(ViewState& state, std::int64_t px, std::int64_t py) {
    const std::int64_t zoom = EffectiveZoom(state.CharacterSetZoom);
    state.Selection.Width = SaturatingSub(ImagePoint(px, zoom, state.ScrollX), state.Selection.X);
    state.Selection.Height = SaturatingSub(ImagePoint(py, zoom, state.ScrollY), state.Selection.Y);
    ViewUpdate update = RedrawCharacterSet();
    update.CharacterView = true;
    return update;
}

ViewUpdate OnCharacterSetMiddleDown(ViewState& state, std::int64_t px, std::int64_t py) {
    const std::int64_t zoom = EffectiveZoom(state.CharacterSetZoom);
    state.PanAnchorX = ImagePoint(px, zoom, state.ScrollX);
    state.PanAnchorY = ImagePoint(py, zoom, state.ScrollY);
    state.Panning = true;
    ViewUpdate update;
    update.Pointer = Pointer::Move;
    return update;
}

ViewUpdate OnCharacterSetMiddleUp(ViewState& state) {
    state.Panning = false;
    ViewUpdate update = RedrawCharacterSet();
    update.Pointer = Pointer::Crosshair;
    return update;
}

ViewUpdate OnCharacterSetWheel(ViewState& state, int notches) {
    state.CharacterSetZoom = ZoomByWheel(EffectiveZoom(state.CharacterSetZoom), notches);
    return RedrawCharacterSet();
}

} // namespace glyfora::views
