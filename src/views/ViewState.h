#pragma once

#include "document/Typeface.h"
#include "views/ViewCanvas.h"

#include <cstdint>

namespace glyfora::views {

// Largest magnification of the character-set, character and kerning-pair views.
constexpr std::int64_t MaxZoom = 64;

// The part of the shell state that the views and their mouse handling read and write.
struct ViewState {
    document::Rect64 Selection; // marked rectangle in image pixels
    // Whether Selection is drawn: a document change that leaves no character selected clears
    // the mark until a character is selected or a rectangle is marked again.
    bool SelectionShown = true;
    std::int64_t CharacterSetZoom = 1;
    std::int64_t CharacterZoom = 8; // character view and kerning-pair view
    std::int64_t ScrollX = 0;       // image point at the character-set view's top-left corner
    std::int64_t ScrollY = 0;
    bool Selecting = false;
    bool Panning = false;
    std::int64_t PanAnchorX = 0;
    std::int64_t PanAnchorY = 0;
    document::Character* CurrentCharacter = nullptr;
    document::KerningPair* CurrentPair = nullptr;
    // How the example window shows its text: drawn at this scale, over this opaque colour.
    float ExampleScale = 1.0F;
    std::uint32_t ExampleBackground = ViewBackground;
};

// low when value < low; else value when value <= high; else high when high > low; else low.
[[nodiscard]] constexpr std::int64_t ClampRange(std::int64_t value, std::int64_t high,
                                                std::int64_t low) {
    if (value < low) {
        return low;
    }
    if (value <= high) {
        return value;
    }
    return high > low ? high : low;
}

// The wheel rule of every view: towards the user (negative notches) halves a zoom above 1, away
// from the user doubles it, up to MaxZoom.
[[nodiscard]] constexpr std::int64_t ZoomByWheel(std::int64_t zoom, int notches) {
    if (zoom > 1 && notches < 0) {
        zoom /= 2;
    }
    if (notches > 0) {
        zoom = zoom * 2 > MaxZoom ? MaxZoom : zoom * 2;
    }
    return zoom;
}

} // namespace glyfora::views
