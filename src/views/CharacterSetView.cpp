#include "views/CharacterSetView.h"

#include "views/ViewCanvas.h"

namespace glyfora::views {
namespace {

// The typeface's character-set picture, or none.
const document::Image* CharacterSetImage(const document::Typeface* typeface) {
    if (typeface == nullptr || !typeface->Content.Image) {
        return nullptr;
    }
    return &*typeface->Content.Image;
}

// Vertical markers at the left and right edge (the picture is higher than the canvas). Divisions
// truncate toward zero, also for a negative scroll position.
void DrawVerticalMarkers(document::Image& canvas, std::int64_t imageHeight, std::int64_t zoom,
                         std::int64_t scrollY) {
    const std::int64_t width = canvas.Width;
    const std::int64_t height = canvas.Height;
    if (height >= SaturatingMul(imageHeight, zoom)) {
        return;
    }
    // height < imageHeight x zoom, so imageHeight - height / zoom is at least 1.
    const std::int64_t thumb = height * height / SaturatingMul(imageHeight, zoom);
    const std::int64_t top = SaturatingMul(height - thumb, scrollY) / (imageHeight - height / zoom);
    BlendBox(canvas, 0, top, ScrollMarkerThickness, thumb, ScrollMarkerColour);
    BlendBox(canvas, width - ScrollMarkerThickness, top, ScrollMarkerThickness, thumb,
             ScrollMarkerColour);
}

// Horizontal markers at the top and bottom edge (the picture is wider than the canvas).
void DrawHorizontalMarkers(document::Image& canvas, std::int64_t imageWidth, std::int64_t zoom,
                           std::int64_t scrollX) {
    const std::int64_t width = canvas.Width;
    const std::int64_t height = canvas.Height;
    if (width >= SaturatingMul(imageWidth, zoom)) {
        return;
    }
    const std::int64_t thumb = width * width / SaturatingMul(imageWidth, zoom);
    const std::int64_t left = SaturatingMul(width - thumb, scrollX) / (imageWidth - width / zoom);
    BlendBox(canvas, left, 0, thumb, ScrollMarkerThickness, ScrollMarkerColour);
    BlendBox(canvas, left, height - ScrollMarkerThickness, thumb, ScrollMarkerThickness,
             ScrollMarkerColour);
}

} // namespace

void DrawThickFrame(document::Image& canvas, std::int64_t x, std::int64_t y, std::int64_t w,
                    std::int64_t h, std::uint32_t colour) {
    BlendOutline(canvas, SaturatingSub(x, 1), SaturatingSub(y, 1), SaturatingAdd(w, 2),
                 SaturatingAdd(h, 2), colour);
    BlendOutline(canvas, SaturatingSub(x, 2), SaturatingSub(y, 2), SaturatingAdd(w, 4),
                 SaturatingAdd(h, 4), colour);
}

void DrawCharacterSetView(document::Image& canvas, std::int64_t canvasWidth,
                          std::int64_t canvasHeight, const document::Typeface* typeface,
                          const ViewState& state, bool showScrollMarks) {
    const std::int64_t zoom = EffectiveZoom(state.CharacterSetZoom);
    ResetCanvas(canvas, canvasWidth, canvasHeight, ViewBackground);
    const std::int64_t width = canvas.Width;
    const std::int64_t height = canvas.Height;

    // The visible rectangle holds whole image pixels only; a zoom wider than the canvas leaves it
    // empty and the view shows just the background.
    const document::Image* image = CharacterSetImage(typeface);
    const document::Rect64 visible{state.ScrollX, state.ScrollY, width / zoom, height / zoom};
    BlendMagnified(canvas, image, visible, 0, 0, zoom);

    if (state.SelectionShown) {
        const document::Rect64& selection = state.Selection;
        DrawThickFrame(canvas, SaturatingMul(SaturatingSub(selection.X, state.ScrollX), zoom),
                       SaturatingMul(SaturatingSub(selection.Y, state.ScrollY), zoom),
                       SaturatingMul(selection.Width, zoom), SaturatingMul(selection.Height, zoom),
                       SelectionFrameColour);
    }

    if (showScrollMarks && image != nullptr) {
        DrawVerticalMarkers(canvas, image->Height, zoom, state.ScrollY);
        DrawHorizontalMarkers(canvas, image->Width, zoom, state.ScrollX);
    }
}

} // namespace glyfora::views
