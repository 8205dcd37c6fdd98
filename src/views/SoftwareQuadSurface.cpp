#include "views/SoftwareQuadSurface.h"

#include "document/Pixel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace glyfora::views {

namespace {

// A triangle corner: screen position, texture position times Q, and Q, the reciprocal depth
// relative to corner 0 (1 everywhere for an affine mapping).
struct Vertex {
    double X = 0.0;
    double Y = 0.0;
    double U = 0.0;
    double V = 0.0;
    double Q = 1.0;
};

// Signed area test of (x, y) against the directed edge from -> to; positive on the inner side of
// a triangle whose corners make EdgeValue(a, b, c) positive. Always evaluated from the endpoint
// that sorts first, so the two triangles sharing an edge get exactly opposite values and no pixel
// on it is drawn twice or missed.
double EdgeValue(const Vertex& from, const Vertex& to, double x, double y) {
    const bool forward = from.Y < to.Y || (from.Y == to.Y && from.X < to.X);
    const Vertex& p = forward ? from : to;
    const Vertex& q = forward ? to : from;
    const double value = (q.X - p.X) * (y - p.Y) - (q.Y - p.Y) * (x - p.X);
    return forward ? value : -value;
}

struct Edge {
    Vertex From;
    Vertex To;
    bool IncludeZero = false; // top or left edge: centres exactly on it are inside
};

Edge MakeEdge(const Vertex& from, const Vertex& to) {
    const double dx = to.X - from.X;
    const double dy = to.Y - from.Y;
    return {from, to, dy < 0.0 || (dy == 0.0 && dx > 0.0)};
}

bool Inside(const Edge& edge, double x, double y) {
    const double value = EdgeValue(edge.From, edge.To, x, y);
    return value > 0.0 || (value == 0.0 && edge.IncludeZero);
}

// A linear function of the screen position: Base + Dx × x + Dy × y.
struct Plane {
    double Dx = 0.0;
    double Dy = 0.0;
    double Base = 0.0;
};

Plane MakePlane(const Vertex& a, const Vertex& b, const Vertex& c, double fa, double fb, double fc,
                double area) {
    const double bx = b.X - a.X;
    const double by = b.Y - a.Y;
    const double cx = c.X - a.X;
    const double cy = c.Y - a.Y;
    Plane plane;
    plane.Dx = ((fb - fa) * cy - (fc - fa) * by) / area;
    plane.Dy = ((fc - fa) * bx - (fb - fa) * cx) / area;
    plane.Base = fa - plane.Dx * a.X - plane.Dy * a.Y;
    return plane;
}

// Pixel index range [first, last] whose centres lie within [low, high], clamped to [0, size - 1].
std::pair<std::int64_t, std::int64_t> CentreRange(double low, double high, std::int64_t size) {
    const double limit = static_cast<double>(size);
    const double first = std::clamp(std::ceil(low - 0.5), -1.0, limit);
    const double last = std::clamp(std::floor(high - 0.5), -1.0, limit);
    return {std::max<std::int64_t>(0, static_cast<std::int64_t>(first)),
            std::min<std::int64_t>(size - 1, static_cast<std::int64_t>(last))};
}

std::uint32_t Factor(BlendFactor factor, std::uint32_t source, std::uint32_t destination,
                     std::uint32_t sourceAlpha, std::uint32_t destinationAlpha) {
    switch (factor) {
    case BlendFactor::Zero:
        return 0;
    case BlendFactor::One:
        return 255;
    case BlendFactor::SourceColour:
        return source;
    case BlendFactor::OneMinusSourceColour:
        return 255 - source;
    case BlendFactor::DestinationColour:
        return destination;
    case BlendFactor::OneMinusDestinationColour:
        return 255 - destination;
    case BlendFactor::SourceAlpha:
        return sourceAlpha;
    case BlendFactor::OneMinusSourceAlpha:
        return 255 - sourceAlpha;
    case BlendFactor::DestinationAlpha:
        return destinationAlpha;
    case BlendFactor::OneMinusDestinationAlpha:
        return 255 - destinationAlpha;
    }
    return 0;
}

std::uint32_t BlendAlpha(std::uint32_t sourceAlpha, std::uint32_t destinationAlpha) {
    return document::DivideBy255(sourceAlpha * 255U + destinationAlpha * (255U - sourceAlpha));
}

// Ordinary alpha blending, the example screen's mode: GL's source alpha / one minus source alpha.
// On the opaque target this surface keeps, that is document::BlendSourceOver.
struct AlphaBlend {
    std::uint32_t operator()(std::uint32_t source, std::uint32_t destination) const {
        const std::uint32_t alpha = document::Alpha(source);
        if (alpha == 0) {
            return destination;
        }
        if (alpha == 255) {
            return source;
        }
        const std::uint32_t inverse = 255U - alpha;
        const auto mix = [&](std::uint32_t sourceValue, std::uint32_t destinationValue) {
            return document::DivideBy255(sourceValue * alpha + destinationValue * inverse);
        };
        return document::Rgba(mix(document::Red(source), document::Red(destination)),
                              mix(document::Green(source), document::Green(destination)),
                              mix(document::Blue(source), document::Blue(destination)),
                              BlendAlpha(alpha, document::Alpha(destination)));
    }
};

struct GeneralBlend {
    BlendFactor SourceFactor = BlendFactor::Zero;
    BlendFactor DestinationFactor = BlendFactor::Zero;

    std::uint32_t operator()(std::uint32_t source, std::uint32_t destination) const {
        const std::uint32_t sourceAlpha = document::Alpha(source);
        const std::uint32_t destinationAlpha = document::Alpha(destination);
        const auto mix = [&](std::uint32_t s, std::uint32_t d) {
            const std::uint32_t value = document::DivideBy255(
                s * Factor(SourceFactor, s, d, sourceAlpha, destinationAlpha) +
                d * Factor(DestinationFactor, s, d, sourceAlpha, destinationAlpha));
            return std::min<std::uint32_t>(value, 255U);
        };
        return document::Rgba(mix(document::Red(source), document::Red(destination)),
                              mix(document::Green(source), document::Green(destination)),
                              mix(document::Blue(source), document::Blue(destination)),
                              BlendAlpha(sourceAlpha, destinationAlpha));
    }
};

// Everything a triangle needs besides its corners.
struct Texturing {
    const document::Image* Sprite = nullptr;
    double MinU = 0.0, MaxU = 0.0, MinV = 0.0, MaxV = 0.0; // texel index limits (source rectangle)
    bool Perspective = false;
    bool SourceInSprite = false; // every clamped texel index lies in the sprite
    std::uint32_t Opacity = 255;
    bool Tinted = false;
    std::uint32_t TintColour = 0;
    double ScreenPxRange = 0.0; // positive: the sprite is a distance field
};

// floor(position) limited to [low, high]; both limits are small integers.
std::int64_t TexelIndex(double position, double low, double high) {
    if (!(position >= low)) { // also catches NaN
        return static_cast<std::int64_t>(low);
    }
    if (position >= high) {
        return static_cast<std::int64_t>(high);
    }
    // Truncation, corrected below zero; cheaper than std::floor without SSE4.1.
    auto index = static_cast<std::int64_t>(position);
    return static_cast<double>(index) > position ? index - 1 : index;
}

std::uint32_t AlphaAt(const Texturing& tex, std::int64_t x, std::int64_t y) {
    const document::Image& sprite = *tex.Sprite;
    return tex.SourceInSprite || sprite.Contains(x, y) ? document::Alpha(sprite.At(x, y)) : 0U;
}

// The distance at texture position (u, v), interpolated between the four nearest texel centres,
// decoded into the alpha an engine's shader gives it.
std::uint32_t DistanceAlpha(const Texturing& tex, double u, double v) {
    const double left = std::floor(u - 0.5);
    const double top = std::floor(v - 0.5);
    const double wx = u - 0.5 - left;
    const double wy = v - 0.5 - top;
    const std::int64_t x0 = TexelIndex(left, tex.MinU, tex.MaxU);
    const std::int64_t x1 = TexelIndex(left + 1.0, tex.MinU, tex.MaxU);
    const std::int64_t y0 = TexelIndex(top, tex.MinV, tex.MaxV);
    const std::int64_t y1 = TexelIndex(top + 1.0, tex.MinV, tex.MaxV);
    const double upper = AlphaAt(tex, x0, y0) * (1.0 - wx) + AlphaAt(tex, x1, y0) * wx;
    const double lower = AlphaAt(tex, x0, y1) * (1.0 - wx) + AlphaAt(tex, x1, y1) * wx;
    const double distance = (upper * (1.0 - wy) + lower * wy) / 255.0;
    const double opacity = tex.ScreenPxRange * (distance - 0.5) + 0.5;
    if (!(opacity > 0.0)) { // also catches NaN from a position that is not finite
        return 0;
    }
    return static_cast<std::uint32_t>(std::lround(std::min(opacity, 1.0) * tex.Opacity));
}

// The source colour of the pixel whose centre maps to texture position (u, v).
std::uint32_t Shade(const Texturing& tex, double u, double v) {
    if (tex.ScreenPxRange > 0.0) {
        const std::uint32_t colour = tex.Tinted ? tex.TintColour : 0xFFFFFFU;
        return colour | (DistanceAlpha(tex, u, v) << 24);
    }
    const std::int64_t tx = TexelIndex(u, tex.MinU, tex.MaxU);
    const std::int64_t ty = TexelIndex(v, tex.MinV, tex.MaxV);
    const document::Image& sprite = *tex.Sprite;
    const std::uint32_t texel =
        tex.SourceInSprite || sprite.Contains(tx, ty) ? sprite.At(tx, ty) : 0U;
    const std::uint32_t colour = tex.Tinted ? tex.TintColour : document::ColourOf(texel);
    const std::uint32_t alpha = document::DivideBy255(document::Alpha(texel) * tex.Opacity);
    return colour | (alpha << 24);
}

template <typename Blend>
void DrawTriangle(document::Image& target, Vertex a, Vertex b, Vertex c, const Texturing& tex,
                  const Blend& blend) {
    double area = EdgeValue(a, b, c.X, c.Y);
    if (area == 0.0 || !std::isfinite(area)) {
        return;
    }
    if (area < 0.0) {
        std::swap(b, c);
        area = -area;
    }
    const std::array<Edge, 3> edges{MakeEdge(a, b), MakeEdge(b, c), MakeEdge(c, a)};
    const auto insideAll = [&edges](double x, double y) {
        return Inside(edges[0], x, y) && Inside(edges[1], x, y) && Inside(edges[2], x, y);
    };
    const Plane planeU = MakePlane(a, b, c, a.U, b.U, c.U, area);
    const Plane planeV = MakePlane(a, b, c, a.V, b.V, c.V, area);
    const Plane planeQ = MakePlane(a, b, c, a.Q, b.Q, c.Q, area);

    const auto [firstRow, lastRow] =
        CentreRange(std::min({a.Y, b.Y, c.Y}), std::max({a.Y, b.Y, c.Y}), target.Height);
    const auto [boxLeft, boxRight] =
        CentreRange(std::min({a.X, b.X, c.X}), std::max({a.X, b.X, c.X}), target.Width);
    for (std::int64_t row = firstRow; row <= lastRow; ++row) {
        const double y = static_cast<double>(row) + 0.5;
        // The covered centres of a row form one run; find its ends from the edges, then settle
        // them with the exact test so that rounding in the division cannot move them.
        double low = -HUGE_VAL;
        double high = HUGE_VAL;
        for (const Edge& edge : edges) {
            const double dy = edge.To.Y - edge.From.Y;
            if (dy == 0.0) {
                continue; // a horizontal edge admits all of a row or none; the exact test decides
            }
            const double crossing =
                edge.From.X + (edge.To.X - edge.From.X) * (y - edge.From.Y) / dy;
            if (dy < 0.0) {
                low = std::max(low, crossing);
            } else {
                high = std::min(high, crossing);
            }
        }
        auto [left, right] = CentreRange(low, high, target.Width);
        left = std::max(boxLeft, left - 1);
        right = std::min(boxRight, right + 1);
        while (left <= right && !insideAll(static_cast<double>(left) + 0.5, y)) {
            ++left;
        }
        while (right >= left && !insideAll(static_cast<double>(right) + 0.5, y)) {
            --right;
        }
        if (left > right) {
            continue;
        }
        const double rowU = planeU.Base + planeU.Dy * y;
        const double rowV = planeV.Base + planeV.Dy * y;
        const double rowQ = planeQ.Base + planeQ.Dy * y;
        std::uint32_t* out = &target.At(left, row);
        for (std::int64_t column = left; column <= right; ++column, ++out) {
            const double x = static_cast<double>(column) + 0.5;
            double u = rowU + planeU.Dx * x;
            double v = rowV + planeV.Dx * x;
            if (tex.Perspective) {
                const double q = rowQ + planeQ.Dx * x;
                u /= q;
                v /= q;
            }
            *out = blend(Shade(tex, u, v), *out);
        }
    }
}

} // namespace

SoftwareQuadSurface::SoftwareQuadSurface(std::int64_t width, std::int64_t height)
    : Target(document::MakeImage(width, height, document::Opaque(0)).value_or(document::Image{})) {}

void SoftwareQuadSurface::Clear(std::uint32_t colour) {
    std::fill(Target.Pixels.begin(), Target.Pixels.end(), document::Opaque(colour));
}

void SoftwareQuadSurface::SetBlendMode(BlendFactor sourceFactor, BlendFactor destinationFactor) {
    if (IsBlendFactor(sourceFactor) && IsBlendFactor(destinationFactor)) {
        sourceFactor_ = sourceFactor;
        destinationFactor_ = destinationFactor;
    }
}

void SoftwareQuadSurface::SetDistanceDecoding(float screenPxRange) {
    screenPxRange_ = screenPxRange > 0.0F ? screenPxRange : 0.0;
}

void SoftwareQuadSurface::DrawQuad(const document::Sprite& sprite, const document::Rect64& source,
                                   const GlyphQuad& corners, std::int64_t opacity,
                                   std::int64_t tint) {
    if (!sprite || source.Width <= 0 || source.Height <= 0 || Target.Pixels.empty()) {
        return;
    }
    for (const QuadCorner& corner : corners) {
        if (!std::isfinite(corner.X) || !std::isfinite(corner.Y)) {
            return;
        }
    }
    Texturing tex;
    tex.Sprite = sprite.get();
    const double sx = static_cast<double>(source.X);
    const double sy = static_cast<double>(source.Y);
    const double sw = static_cast<double>(source.Width);
    const double sh = static_cast<double>(source.Height);
    // Limits within one texel around the sprite: every index outside it reads as transparent
    // anyway, and the indices stay small enough to convert.
    const double spriteWidth = static_cast<double>(sprite->Width);
    const double spriteHeight = static_cast<double>(sprite->Height);
    tex.MinU = std::clamp(sx, -1.0, spriteWidth);
    tex.MaxU = std::clamp(sx + sw - 1.0, -1.0, spriteWidth);
    tex.MinV = std::clamp(sy, -1.0, spriteHeight);
    tex.MaxV = std::clamp(sy + sh - 1.0, -1.0, spriteHeight);
    tex.SourceInSprite =
        tex.MinU >= 0.0 && tex.MaxU < spriteWidth && tex.MinV >= 0.0 && tex.MaxV < spriteHeight;
    tex.Opacity = static_cast<std::uint32_t>(std::clamp<std::int64_t>(opacity, 0, 255));
    tex.Tinted = tint != NoTint;
    tex.TintColour = document::ColourOf(static_cast<std::uint32_t>(tint));
    tex.ScreenPxRange = screenPxRange_;

    // Perspective only when the depths differ and can be inverted without changing sign.
    const double w0 = corners[0].W;
    bool depthsUsable = std::isfinite(w0) && w0 != 0.0;
    bool depthsDiffer = false;
    for (const QuadCorner& corner : corners) {
        const double w = corner.W;
        depthsUsable = depthsUsable && std::isfinite(w) && w != 0.0 && (w > 0.0) == (w0 > 0.0);
        depthsDiffer = depthsDiffer || w != w0;
    }
    tex.Perspective = depthsUsable && depthsDiffer;

    const std::array<double, 4> cornerU{sx, sx + sw, sx + sw, sx};
    const std::array<double, 4> cornerV{sy, sy, sy + sh, sy + sh};
    std::array<Vertex, 4> vertices;
    for (std::size_t i = 0; i < 4; ++i) {
        const double q = tex.Perspective ? w0 / static_cast<double>(corners[i].W) : 1.0;
        vertices[i] = {corners[i].X, corners[i].Y, cornerU[i] * q, cornerV[i] * q, q};
    }

    const auto draw = [&](const auto& blend) {
        DrawTriangle(Target, vertices[0], vertices[1], vertices[2], tex, blend);
        DrawTriangle(Target, vertices[0], vertices[2], vertices[3], tex, blend);
    };
    if (sourceFactor_ == BlendFactor::SourceAlpha &&
        destinationFactor_ == BlendFactor::OneMinusSourceAlpha) {
        draw(AlphaBlend{});
    } else {
        draw(GeneralBlend{sourceFactor_, destinationFactor_});
    }
}

} // namespace glyfora::views
