#include "views/RenderSettingsAccess.h"

namespace glyfora::views {

namespace {

// Applies change to the settings of the typeface under id, when there is one.
template <typename Change>
bool ChangeSettings(document::TypefaceRegistry& registry, std::int64_t id, Change change) {
    document::Typeface* typeface = document::TypefaceFromId(registry, id);
    if (typeface == nullptr) {
        return false;
    }
    change(typeface->Settings);
    return true;
}

} // namespace

bool SetScale(document::TypefaceRegistry& registry, std::int64_t id, float scale) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.Scale = scale; });
}

bool SetIntensity(document::TypefaceRegistry& registry, std::int64_t id, std::int64_t intensity) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.Intensity = intensity; });
}

bool SetTintColour(document::TypefaceRegistry& registry, std::int64_t id, std::int64_t tint) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.TintColour = tint; });
}

bool SetArcRadius(document::TypefaceRegistry& registry, std::int64_t id, float radius) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.ArcRadius = radius; });
}

bool SetAlignX(document::TypefaceRegistry& registry, std::int64_t id, float align) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.AlignX = align; });
}

bool SetAlignY(document::TypefaceRegistry& registry, std::int64_t id, float align) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.AlignY = align; });
}

bool SetItalicAngle(document::TypefaceRegistry& registry, std::int64_t id, float degrees) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.ItalicAngle = degrees; });
}

bool SetLetterSpacing(document::TypefaceRegistry& registry, std::int64_t id, float spacing) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.LetterSpacing = spacing; });
}

bool SetProjectionCentre(document::TypefaceRegistry& registry, std::int64_t id, float cx, float cy,
                         float cd) {
    return ChangeSettings(registry, id, [=](auto& settings) {
        settings.ProjectionCentre = {cx, cy, cd};
    });
}

bool SetProjection(document::TypefaceRegistry& registry, std::int64_t id,
                   const std::array<std::array<float, 3>, 3>& matrix) {
    return ChangeSettings(registry, id, [&](auto& settings) { settings.Projection = matrix; });
}

bool SetMaxLineWidth(document::TypefaceRegistry& registry, std::int64_t id, float width) {
    return ChangeSettings(registry, id, [=](auto& settings) { settings.MaxLineWidth = width; });
}

bool SetClipRect(document::TypefaceRegistry& registry, std::int64_t id, float x, float y,
                 float width, float height) {
    return ChangeSettings(registry, id, [=](auto& settings) {
        settings.ClipRect = {x, y, width, height};
    });
}

bool SetKerningEnabled(document::TypefaceRegistry& registry, std::int64_t id, bool on) {
    document::Typeface* typeface = document::TypefaceFromId(registry, id);
    if (typeface == nullptr) {
        return false;
    }
    const bool hasPairs = !typeface->Content.KerningPairs.Empty();
    typeface->Settings.KerningEnabled = on && hasPairs ? 1 : 0;
    return true;
}

} // namespace glyfora::views
