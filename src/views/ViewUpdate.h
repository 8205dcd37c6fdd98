#pragma once

#include <optional>

namespace glyfora::views {

// Pointer shapes the character-set canvas switches between.
enum class Pointer { Crosshair, Move };

// What an input handler asks its widget to do afterwards, in this order: redraw the character
// view, the kerning-pair view, then the character-set view (with or without scroll markers), and
// set the canvas's pointer shape.
struct ViewUpdate {
    bool CharacterView = false;
    bool KerningPairView = false;
    bool CharacterSet = false;
    bool ScrollMarks = false; // only meaningful with CharacterSet
    std::optional<views::Pointer> Pointer;
};

} // namespace glyfora::views
