#pragma once

#include <array>
#include <cstdint>

namespace glyfora::document {

// Per-typeface settings of the example-text renderer. New typefaces copy the block of the
// default pseudo-typeface (id -1), except ClipRect, which always starts zeroed.
struct RenderSettings {
    float Scale = 1.0F;
    std::int64_t Intensity = 255;
    std::int64_t TintColour = -1; // 0xBBGGRR, -1 = no tint
    float ArcRadius = 0.0F;
    float AlignX = 0.0F;
    float AlignY = 0.0F;
    float ItalicAngle = 0.0F;
    float LetterSpacing = 0.0F;
    std::array<float, 3> ProjectionCentre{0.0F, 0.0F, -1.0F}; // Cx, Cy, Cd
    std::array<std::array<float, 3>, 3> Projection{
        {{1.0F, 0.0F, 0.0F}, {0.0F, 1.0F, 0.0F}, {0.0F, 0.0F, 1.0F}}}; // row-major
    float MaxLineWidth = 0.0F;
    std::int64_t KerningEnabled = 1;
    std::array<float, 4> ClipRect{0.0F, 0.0F, 0.0F, 0.0F}; // X, Y, Width, Height
};

} // namespace glyfora::document
