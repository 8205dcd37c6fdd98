#include "views/CharacterView.h"

#include "views/CharacterSetView.h"

#include <algorithm>

namespace glyfora::views {

ViewPicture DrawCharacterView(const document::Typeface* typeface, const ViewState& state) {
    ViewPicture view;
    const document::Character* character = state.CurrentCharacter;
    if (character == nullptr) {
        return view;
    }
    const std::int64_t zoom = EffectiveZoom(state.CharacterZoom);
    const auto units = [zoom](std::int64_t value) { return SaturatingMul(value, zoom); };
    const document::Rect64& source = character->Source;
    const document::Rect64& outlay = character->Outlay;
    const std::int64_t cellWidth = std::max<std::int64_t>(source.Width, 0);
    const std::int64_t cellHeight = std::max<std::int64_t>(source.Height, 0);

    view.Visible = true;
    ResetCanvas(view.Picture, units(SaturatingAdd(cellWidth, 2 * ViewMargin)),
                units(SaturatingAdd(cellHeight, 2 * ViewMargin)), ViewBackground);
    view.Width = view.Picture.Width;
    view.Height = view.Picture.Height;

    const document::Image* image =
        typeface != nullptr && typeface->Content.Image ? &*typeface->Content.Image : nullptr;
    BlendMagnified(view.Picture, image, source, units(ViewMargin), units(ViewMargin), zoom);
    DrawThickFrame(view.Picture, units(SaturatingSub(ViewMargin, outlay.X)),
                   units(SaturatingSub(ViewMargin, outlay.Y)), units(outlay.Width),
                   units(outlay.Height), OutlayFrameColour);
    return view;
}

ViewUpdate OnCharacterZoomWheel(ViewState& state, int notches) {
    state.CharacterZoom = ZoomByWheel(EffectiveZoom(state.CharacterZoom), notches);
    ViewUpdate update;
    update.CharacterView = true;
    update.KerningPairView = true;
    return update;
}

} // namespace glyfora::views
