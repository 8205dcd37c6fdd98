#pragma once

#include "document/RenderSettings.h"
#include "document/Typeface.h"

#include <array>
#include <cstdint>

namespace glyfora::views {

// Setters for the example-text settings of the typeface under id. Id -1 changes the default block
// that typefaces created later copy (all but ClipRect). Each returns false, changing nothing, when
// no typeface is registered under id. Values are stored as given; the renderer and the surfaces
// cope with any of them.
[[nodiscard]] bool SetScale(document::TypefaceRegistry& registry, std::int64_t id, float scale);
[[nodiscard]] bool SetIntensity(document::TypefaceRegistry& registry, std::int64_t id,
                                std::int64_t intensity);
[[nodiscard]] bool SetTintColour(document::TypefaceRegistry& registry, std::int64_t id,
                                 std::int64_t tint);
[[nodiscard]] bool SetArcRadius(document::TypefaceRegistry& registry, std::int64_t id,
                                float radius);
[[nodiscard]] bool SetAlignX(document::TypefaceRegistry& registry, std::int64_t id, float align);
[[nodiscard]] bool SetAlignY(document::TypefaceRegistry& registry, std::int64_t id, float align);
[[nodiscard]] bool SetItalicAngle(document::TypefaceRegistry& registry, std::int64_t id,
                                  float degrees);
[[nodiscard]] bool SetLetterSpacing(document::TypefaceRegistry& registry, std::int64_t id,
                                    float spacing);
[[nodiscard]] bool SetProjectionCentre(document::TypefaceRegistry& registry, std::int64_t id,
                                       float cx, float cy, float cd);
[[nodiscard]] bool SetProjection(document::TypefaceRegistry& registry, std::int64_t id,
                                 const std::array<std::array<float, 3>, 3>& matrix);
[[nodiscard]] bool SetMaxLineWidth(document::TypefaceRegistry& registry, std::int64_t id,
                                   float width);
[[nodiscard]] bool SetClipRect(document::TypefaceRegistry& registry, std::int64_t id, float x,
                               float y, float width, float height);

// The idle pass's kerning switch: KerningEnabled becomes 1 when on is true and the typeface has
// kerning pairs, else 0.
[[nodiscard]] bool SetKerningEnabled(document::TypefaceRegistry& registry, std::int64_t id,
                                     bool on);

} // namespace glyfora::views
