#include "views/ExampleTextRenderer.h"

#include "base/Utf8.h"
#include "document/PictureEffects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace glyfora::views {

namespace {

using document::Character;
using document::Typeface;

constexpr char16_t LineFeed = 10;
constexpr char16_t Space = 32;

// Nearest integer, halves away from zero.
double Nearest(double value) {
    return std::round(value);
}

// The text up to its first 0 unit, which ends a text as it does in the typeface files' strings.
std::u16string_view UpToTerminator(std::u16string_view text) {
    const auto end = text.find(u'\0');
    return end == std::u16string_view::npos ? text : text.substr(0, end);
}

char16_t UnitAt(std::u16string_view text, std::size_t i) {
    return i < text.size() ? text[i] : u'\0';
}

std::int64_t KerningKey(char16_t left, char16_t right) {
    return static_cast<std::int64_t>(left) * 65536 + static_cast<std::int64_t>(right);
}

// The pen after character i of text: its advance plus the letter spacing, then the kerning with
// the unit after it (0 at the end), each step stored as a float. Missing characters add nothing.
float AdvancePen(const Typeface& typeface, std::u16string_view text, std::size_t i, float scale,
                 float pen) {
    const char16_t code = text[i];
    const Character* glyph = document::FindCharacter(typeface, code);
    if (glyph == nullptr) {
        return pen;
    }
    const auto& settings = typeface.Settings;
    pen = static_cast<float>(
        pen + (static_cast<double>(glyph->Outlay.Width) + settings.LetterSpacing) * scale);
    if (settings.KerningEnabled != 0) {
        const std::int64_t key = KerningKey(code, UnitAt(text, i + 1));
        const auto amount = document::KerningAmount(typeface, key);
        pen = static_cast<float>(pen + static_cast<double>(amount) * scale);
    }
    return pen;
}

// The range of a distance-field typeface's picture in screen pixels when drawn at scale, at least
// one pixel as engines take it; 0 for a picture that is drawn as it is. Multi-channel fields hold
// their distance in the colours, which the surfaces do not decode, so they are drawn as they are.
float ScreenPxRange(const Typeface& typeface, float scale) {
    const std::optional<document::DistanceField> field =
        document::DistanceFieldOf(typeface.Content.Properties);
    if (!field || (!base::EqualIgnoringAsciiCase(field->FieldType, "sdf") &&
                   !base::EqualIgnoringAsciiCase(field->FieldType, "psdf"))) {
        return 0.0F;
    }
    return static_cast<float>(
        std::max(static_cast<double>(field->Range) * std::abs(static_cast<double>(scale)), 1.0));
}

// A source edge rounded to the nearest integer, ties to even; none when out of any sane range.
std::optional<std::int64_t> RoundSourceEdge(double value) {
    const double rounded = std::nearbyint(value);
    constexpr double Limit = 4611686018427387904.0; // 2^62
    if (!(rounded > -Limit && rounded < Limit)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(rounded);
}

GlyphQuad PlacedAt(GlyphQuad quad, float x, float y) {
    for (QuadCorner& corner : quad) {
        corner.X = static_cast<float>(static_cast<double>(corner.X) + x);
        corner.Y = static_cast<float>(static_cast<double>(corner.Y) + y);
    }
    return quad;
}

bool Finite(const GlyphQuad& quad) {
    for (const QuadCorner& corner : quad) {
        if (!std::isfinite(corner.X) || !std::isfinite(corner.Y) || !std::isfinite(corner.W)) {
            return false;
        }
    }
    return true;
}

struct GlyphStyle {
    float X = 0.0F; // origin
    float Y = 0.0F;
    float Scale = 1.0F;
    float Slant = 0.0F;
    std::int64_t Intensity = 255;
    std::int64_t Tint = NoTint;
};

// The glyph's quad at the pen, bent onto the arc and projected, relative to the text's origin.
GlyphQuad PlacedQuad(const Typeface& typeface, const Character& glyph, float penX, float penY,
                     const GlyphStyle& style) {
    const auto& settings = typeface.Settings;
    const float scale = style.Scale;
    GlyphQuad quad = MakeGlyphQuad(glyph, penX, penY, scale, style.Slant, settings.AlignY);
    if (settings.ArcRadius != 0.0F) {
        const auto afterGlyph = static_cast<float>(
            penX + (static_cast<double>(glyph.Outlay.Width) + settings.LetterSpacing) * scale);
        BendQuadOntoArc(typeface, quad, afterGlyph, penY);
    }
    ProjectQuad(typeface, quad);
    return quad;
}

// Negative when the quad is mirrored.
float Orientation(const GlyphQuad& quad) {
    const auto& [q0, q1, q2, q3] = quad;
    return static_cast<float>(static_cast<double>(q1.X - q0.X) * (q3.Y - q0.Y) -
                              static_cast<double>(q1.Y - q0.Y) * (q3.X - q0.X));
}

// The upside-down copy, drawn on the reversed corners, gives the pixels of the sprite drawn on the
// corners as they are. Made on the first mirrored quad; not clipped.
void DrawMirrored(const document::TypefaceContent& content, QuadSurface& surface,
                  const GlyphQuad& quad, const document::Rect64& cell, const GlyphStyle& style) {
    const double flippedY = static_cast<double>(document::FlippedSpriteHeight(content)) -
                            static_cast<double>(cell.Y) - static_cast<double>(cell.Height);
    const auto top = RoundSourceEdge(flippedY);
    if (!top) {
        return;
    }
    const auto& [q0, q1, q2, q3] = quad;
    surface.DrawQuad(document::FlippedSprite(content), {cell.X, *top, cell.Width, cell.Height},
                     PlacedAt({q3, q2, q1, q0}, style.X, style.Y), style.Intensity, style.Tint);
}

// A source rectangle in sprite texels, before rounding.
struct SourceEdges {
    float X = 0.0F;
    float Y = 0.0F;
    float Width = 0.0F;
    float Height = 0.0F;
};

// Clips the quad to clip (X, Y, Width, Height around the text's origin) and the source with it.
// Moves whole edges, exact for upright, unslanted quads.
void ClipQuad(const std::array<float, 4>& clip, const GlyphStyle& style, GlyphQuad& quad,
              SourceEdges& source) {
    auto& [q0, q1, q2, q3] = quad;
    const float scale = style.Scale;
    const double originX = style.X;
    const double originY = style.Y;
    const double clipRight = static_cast<double>(clip[0]) + clip[2];
    const double clipBottom = static_cast<double>(clip[1]) + clip[3];
    if (clip[0] > originX + q0.X) {
        const auto d = static_cast<float>((clip[0] - q0.X - originX) / scale);
        source.X = static_cast<float>(static_cast<double>(source.X) + d);
        source.Width = static_cast<float>(static_cast<double>(source.Width) - d);
        q0.X = q3.X = static_cast<float>(clip[0] - originX);
    }
    if (originX + q1.X > clipRight) {
        const auto d = static_cast<float>((q1.X + originX - clipRight) / scale);
        source.Width = static_cast<float>(static_cast<double>(source.Width) - d);
        q1.X = q2.X = static_cast<float>(clipRight - originX);
    }
    if (clip[1] > originY + q0.Y) {
        const auto d = static_cast<float>((clip[1] - q0.Y - originY) / scale);
        source.Y = static_cast<float>(static_cast<double>(source.Y) + d);
        source.Height = static_cast<float>(static_cast<double>(source.Height) - d);
        q0.Y = q1.Y = static_cast<float>(clip[1] - originY);
    }
    if (originY + q2.Y > clipBottom) {
        const auto d = static_cast<float>((q2.Y + originY - clipBottom) / scale);
        source.Height = static_cast<float>(static_cast<double>(source.Height) - d);
        q2.Y = q3.Y = static_cast<float>(clipBottom - originY);
    }
}

void DrawGlyph(const Typeface& typeface, QuadSurface& surface, const Character& glyph, float penX,
               float penY, const GlyphStyle& style) {
    const auto& content = typeface.Content;
    GlyphQuad quad = PlacedQuad(typeface, glyph, penX, penY, style);
    if (!Finite(quad)) {
        return;
    }
    const document::Rect64 cell = glyph.Source;
    if (Orientation(quad) < 0.0F) {
        DrawMirrored(content, surface, quad, cell, style);
        return;
    }
    SourceEdges source{static_cast<float>(cell.X), static_cast<float>(cell.Y),
                       static_cast<float>(cell.Width), static_cast<float>(cell.Height)};
    if (typeface.Settings.ClipRect[2] != 0.0F) {
        ClipQuad(typeface.Settings.ClipRect, style, quad, source);
    }
    const auto sx = RoundSourceEdge(source.X);
    const auto sy = RoundSourceEdge(source.Y);
    const auto sw = RoundSourceEdge(source.Width);
    const auto sh = RoundSourceEdge(source.Height);
    if (!sx || !sy || !sw || !sh || *sw <= 0 || *sh <= 0) {
        return; // clipped away entirely, or an empty cell
    }
    surface.DrawQuad(content.Sprite, {*sx, *sy, *sw, *sh}, PlacedAt(quad, style.X, style.Y),
                     style.Intensity, style.Tint);
}

// MeasureTypefaceLine over a text without 0 units, so that a caller walking a long text line by
// line does not search it for the end again and again.
std::int64_t MeasureLine(const Typeface& typeface, std::u16string_view text, float scale,
                         float* width, float* height) {
    if (text.empty()) {
        if (width != nullptr) {
            *width = 0.0F;
        }
        if (height != nullptr) {
            *height = 0.0F;
        }
        return 0;
    }
    const Character* space = document::FindCharacter(typeface, Space);
    if (space != nullptr && height != nullptr) {
        *height = static_cast<float>(static_cast<double>(space->Outlay.Height) * scale);
    }
    const float maxWidth = typeface.Settings.MaxLineWidth;
    float advance = 0.0F;
    float lineBreak = 0.0F;
    float beforeLast = 0.0F; // the advance before the last character measured
    std::size_t count = 0;
    std::size_t i = 0;
    while (advance <= maxWidth || maxWidth == 0.0F) {
        const char16_t code = UnitAt(text, i);
        if (code == 0) {
            count = i;
            lineBreak = advance;
            break;
        }
        if (code == LineFeed) {
            count = i + 1;
            lineBreak = advance;
            break;
        }
        if (code == Space) {
            count = i + 1;
            lineBreak = advance;
        }
        beforeLast = advance;
        advance = AdvancePen(typeface, text, i, scale, advance);
        ++i;
    }
    if (count == 0) {
        // No break before the wrap width (or a negative or undefined one): break the word after
        // the last character that fits, taking at least one so that every caller moves on.
        if (i >= 2) {
            count = i - 1;
            lineBreak = beforeLast;
        } else {
            count = 1;
            lineBreak = i == 1 ? advance : AdvancePen(typeface, text, 0, scale, 0.0F);
        }
    } else if (lineBreak == 0.0F) {
        lineBreak = advance;
    }
    if (width != nullptr) {
        *width = lineBreak;
    }
    return static_cast<std::int64_t>(count);
}

} // namespace

GlyphQuad MakeGlyphQuad(const Character& glyph, float penX, float penY, float scale, float slant,
                        float alignY) {
    const auto ox = static_cast<double>(glyph.Outlay.X);
    const auto oy = static_cast<double>(glyph.Outlay.Y);
    const auto oh = static_cast<double>(glyph.Outlay.Height);
    const auto sw = static_cast<double>(glyph.Source.Width);
    const auto sh = static_cast<double>(glyph.Source.Height);
    GlyphQuad quad;
    auto& [q0, q1, q2, q3] = quad;
    q0.X = static_cast<float>(penX + (ox + (oh - oy) * slant * alignY) * scale);
    q0.Y = static_cast<float>(penY + oy * scale);
    q1.X = static_cast<float>(q0.X + sw * scale);
    q1.Y = q0.Y;
    q2.X = static_cast<float>(q1.X - sh * slant * scale);
    q2.Y = static_cast<float>(q1.Y + sh * scale);
    q3.X = static_cast<float>(q0.X - sh * slant * scale);
    q3.Y = q2.Y;
    return quad;
}

void BendQuadOntoArc(const Typeface& typeface, GlyphQuad& quad, float a, float b) {
    const double radius = typeface.Settings.ArcRadius;
    const auto theta = static_cast<float>(a / (radius - b));
    const auto cosTheta = static_cast<float>(std::cos(static_cast<double>(theta)));
    const auto sinTheta = static_cast<float>(std::sin(static_cast<double>(theta)));
    for (QuadCorner& corner : quad) {
        const auto dx = static_cast<float>(static_cast<double>(corner.X) - a);
        const double dy = corner.Y;
        corner.X = static_cast<float>(static_cast<double>(dx) * cosTheta - dy * sinTheta +
                                      radius * sinTheta);
        corner.Y = static_cast<float>(static_cast<double>(dx) * sinTheta + dy * cosTheta -
                                      radius * (static_cast<double>(cosTheta) - 1.0));
    }
}

void ProjectQuad(const Typeface& typeface, GlyphQuad& quad) {
    const auto& m = typeface.Settings.Projection;
    const double cx = typeface.Settings.ProjectionCentre[0];
    const double cy = typeface.Settings.ProjectionCentre[1];
    const double cd = typeface.Settings.ProjectionCentre[2];
    for (QuadCorner& corner : quad) {
        const double x = corner.X;
        const double y = corner.Y;
        corner.W = static_cast<float>(m[2][0] * x + m[2][1] * y + cd);
        corner.Y = static_cast<float>((m[1][0] * x + m[1][1] * y + cy) * cd / corner.W - cy);
        corner.X = static_cast<float>((m[0][0] * x + m[0][1] * y + cx) * cd / corner.W - cx);
    }
}

std::int64_t MeasureTypefaceLine(const Typeface& typeface, std::u16string_view text, float scale,
                                 float* width, float* height) {
    return MeasureLine(typeface, UpToTerminator(text), scale, width, height);
}

void MeasureTypefaceText(document::TypefaceRegistry& registry, std::int64_t id,
                         std::u16string_view text, float* width, float* height, float scale) {
    float maxWidth = 0.0F;
    float totalHeight = 0.0F;
    if (const Typeface* typeface = document::TypefaceFromId(registry, id)) {
        if (scale == DefaultFloatArgument) {
            scale = typeface->Settings.Scale;
        }
        text = UpToTerminator(text);
        std::size_t pos = 0;
        float lineWidth = 0.0F;
        float lineHeight = 0.0F;
        std::int64_t count = 0;
        do {
            count = MeasureLine(*typeface, text.substr(pos), scale, &lineWidth, &lineHeight);
            if (lineWidth > maxWidth) {
                maxWidth = lineWidth;
            }
            totalHeight = static_cast<float>(static_cast<double>(totalHeight) + lineHeight);
            pos += static_cast<std::size_t>(count);
        } while (count != 0);
    }
    if (width != nullptr) {
        *width = maxWidth;
    }
    if (height != nullptr) {
        *height = totalHeight;
    }
}

void DrawTypefaceText(document::TypefaceRegistry& registry, QuadSurface& surface, std::int64_t id,
                      float x, float y, std::u16string_view text, std::int64_t intensity,
                      std::int64_t tint, float scale, float angle) {
    const Typeface* typeface = document::TypefaceFromId(registry, id);
    if (typeface == nullptr || !typeface->Content.Sprite) {
        return;
    }
    text = UpToTerminator(text);
    const auto& settings = typeface->Settings;
    GlyphStyle style;
    style.X = x;
    style.Y = y;
    style.Intensity = intensity == DefaultIntegerArgument ? settings.Intensity : intensity;
    style.Tint = tint == DefaultIntegerArgument ? settings.TintColour : tint;
    style.Scale = scale == DefaultFloatArgument ? settings.Scale : scale;
    angle = angle == DefaultFloatArgument ? settings.ItalicAngle : angle;
    style.Slant = static_cast<float>(std::tan(angle * std::numbers::pi / 180.0));

    float offsetX = 0.0F;
    float offsetY = 0.0F;
    float blockWidth = 0.0F;
    if (settings.AlignX != 0.0F || settings.AlignY != 0.0F) {
        float blockHeight = 0.0F;
        MeasureTypefaceText(registry, id, text, &blockWidth, &blockHeight, style.Scale);
        offsetX = static_cast<float>(Nearest(-static_cast<double>(settings.AlignX) * blockWidth));
        offsetY = static_cast<float>(Nearest(-static_cast<double>(settings.AlignY) * blockHeight));
    }

    surface.SetDistanceDecoding(ScreenPxRange(*typeface, style.Scale));
    float penY = offsetY;
    std::size_t pos = 0;
    float lineWidth = 0.0F;
    float lineHeight = 0.0F;
    do {
        auto count = MeasureLine(*typeface, text.substr(pos), style.Scale, &lineWidth, &lineHeight);
        auto penX =
            static_cast<float>(offsetX + Nearest(static_cast<double>(settings.AlignX) *
                                                 (static_cast<double>(blockWidth) - lineWidth)));
        for (; count > 0; --count, ++pos) {
            const Character* glyph = document::FindCharacter(*typeface, text[pos]);
            if (glyph == nullptr) {
                continue; // missing characters leave the pen where it is
            }
            DrawGlyph(*typeface, surface, *glyph, penX, penY, style);
            penX = AdvancePen(*typeface, text, pos, style.Scale, penX);
        }
        penY = static_cast<float>(static_cast<double>(penY) + lineHeight);
    } while (pos < text.size());
    surface.SetDistanceDecoding(0.0F);
}

} // namespace glyfora::views
