#include "views/KerningPairView.h"

#include "views/CharacterView.h"

#include <algorithm>

namespace glyfora::views {

ViewPicture DrawKerningPairView(const document::Typeface* typeface, const ViewState& state) {
    ViewPicture view;
    const document::KerningPair* pair = state.CurrentPair;
    if (typeface == nullptr || pair == nullptr) {
        return view;
    }
    const document::Character* left = FindCharacter(*typeface, document::PairLeft(*pair));
    const document::Character* right = FindCharacter(*typeface, document::PairRight(*pair));
    if (left == nullptr || right == nullptr) {
        return view;
    }
    const std::int64_t zoom = EffectiveZoom(state.CharacterZoom);
    const auto units = [zoom](std::int64_t value) { return SaturatingMul(value, zoom); };
    const document::Rect64& leftOutlay = left->Outlay;
    const document::Rect64& rightOutlay = right->Outlay;
    // Pen position of the right character: the left advance plus the pair's amount, as in text.
    const std::int64_t rightPen =
        SaturatingAdd(SaturatingAdd(leftOutlay.Width, pair->Amount), ViewMargin);
    const std::int64_t widthUnits =
        SaturatingAdd(SaturatingAdd(rightPen, rightOutlay.Width), ViewMargin);
    const std::int64_t heightUnits =
        SaturatingAdd(std::max(leftOutlay.Height, rightOutlay.Height), 2 * ViewMargin);

    view.Visible = true;
    const bool drawable = widthUnits > 0 && heightUnits > 0;
    ResetCanvas(view.Picture, units(std::max<std::int64_t>(widthUnits, 1)),
                units(std::max<std::int64_t>(heightUnits, 1)), ViewBackground);
    view.Width = view.Picture.Width;
    view.Height = view.Picture.Height;
    if (!drawable) {
        return view;
    }

    const document::Image* image = typeface->Content.Image ? &*typeface->Content.Image : nullptr;
    BlendMagnified(view.Picture, image, left->Source,
                   units(SaturatingAdd(leftOutlay.X, ViewMargin)),
                   units(SaturatingAdd(leftOutlay.Y, ViewMargin)), zoom);
    BlendMagnified(view.Picture, image, right->Source,
                   units(SaturatingAdd(rightPen, rightOutlay.X)),
                   units(SaturatingAdd(rightOutlay.Y, ViewMargin)), zoom);
    const std::int64_t leftBarY =
        SaturatingAdd(SaturatingAdd(leftOutlay.Y, leftOutlay.Height), ViewMargin + 1);
    const std::int64_t rightBarY =
        SaturatingAdd(SaturatingAdd(rightOutlay.Y, rightOutlay.Height), ViewMargin + 2);
    BlendBox(view.Picture, units(ViewMargin), units(leftBarY), units(leftOutlay.Width), zoom,
             AdvanceBarColour);
    BlendBox(view.Picture, units(rightPen), units(rightBarY), units(rightOutlay.Width), zoom,
             AdvanceBarColour);
    return view;
}

} // namespace glyfora::views
