#include "app/surfaces/OpenGlQuadSurface.h"

#include "document/Pixel.h"

#include <QOpenGLContext>
#include <algorithm>
#include <array>
#include <cmath>

namespace glyfora::app {

namespace {

// GLSL 1.10 / GLSL ES 1.00. The vertex stage gets clip coordinates ready made (x and y already
// multiplied by the corner's relative depth), so the hardware interpolates the texel position
// perspective-correct exactly where the software surface divides by its interpolated depth.
constexpr char VertexShader[] = R"(
attribute vec4 a_position;
attribute vec2 a_texel;
varying vec2 v_texel;
void main() {
    v_texel = a_texel;
    gl_Position = a_position;
}
)";

// Texel positions are in sprite texels. The texel index is clamped to the source rectangle, so
// that neighbouring cells never bleed in; a pass draws only the texels of its tile, or (mode 1)
// only the positions outside the sprite, which read as transparent. With a positive u_range the
// sprite is a distance field: its alpha is interpolated between the four nearest texel centres
// (fetched one by one at their centres, as the software surface does, each clamped to the source
// rectangle; in a tiled sprite also to the pass's tile) and decoded as engines do.
constexpr char FragmentShader[] = R"(
#ifdef GL_ES
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
#endif
uniform sampler2D u_sampler;
uniform vec4 u_tile;
uniform vec4 u_source;
uniform vec2 u_sprite;
uniform float u_mode;
uniform vec4 u_tint;
uniform float u_opacity;
uniform float u_range;
varying vec2 v_texel;
float AlphaAt(vec2 t) {
    t = clamp(t, u_source.xy, u_source.zw);
    if (any(lessThan(t, vec2(0.0))) || any(greaterThanEqual(t, u_sprite))) {
        return 0.0;
    }
    vec2 local = clamp(t - u_tile.xy, vec2(0.0), u_tile.zw - 1.0);
    return texture2D(u_sampler, (local + 0.5) / u_tile.zw).a;
}
float DistanceOpacity() {
    vec2 corner = floor(v_texel - 0.5);
    vec2 w = v_texel - 0.5 - corner;
    float upper = mix(AlphaAt(corner), AlphaAt(corner + vec2(1.0, 0.0)), w.x);
    float lower = mix(AlphaAt(corner + vec2(0.0, 1.0)), AlphaAt(corner + vec2(1.0)), w.x);
    return clamp(u_range * (mix(upper, lower, w.y) - 0.5) + 0.5, 0.0, 1.0);
}
void main() {
    vec2 t = clamp(floor(v_texel), u_source.xy, u_source.zw);
    bool outside = any(lessThan(t, vec2(0.0))) || any(greaterThanEqual(t, u_sprite));
    vec4 texel = vec4(0.0);
    if (u_mode > 0.5) {
        if (!outside) {
            discard;
        }
    } else {
        vec2 local = t - u_tile.xy;
        if (outside || any(lessThan(local, vec2(0.0))) || any(greaterThanEqual(local, u_tile.zw))) {
            discard;
        }
        texel = texture2D(u_sampler, (local + 0.5) / u_tile.zw);
        if (u_range > 0.0) {
            texel = vec4(1.0, 1.0, 1.0, DistanceOpacity());
        }
    }
    gl_FragColor = vec4(mix(texel.rgb, u_tint.rgb, u_tint.a), texel.a * u_opacity);
}
)";

GLenum GlFactor(views::BlendFactor factor) {
    switch (factor) {
    case views::BlendFactor::Zero:
        return GL_ZERO;
    case views::BlendFactor::One:
        return GL_ONE;
    case views::BlendFactor::SourceColour:
        return GL_SRC_COLOR;
    case views::BlendFactor::OneMinusSourceColour:
        return GL_ONE_MINUS_SRC_COLOR;
    case views::BlendFactor::DestinationColour:
        return GL_DST_COLOR;
    case views::BlendFactor::OneMinusDestinationColour:
        return GL_ONE_MINUS_DST_COLOR;
    case views::BlendFactor::SourceAlpha:
        return GL_SRC_ALPHA;
    case views::BlendFactor::OneMinusSourceAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case views::BlendFactor::DestinationAlpha:
        return GL_DST_ALPHA;
    case views::BlendFactor::OneMinusDestinationAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    }
    return GL_ZERO;
}

// A channel value 0..255 as GL's 0..1.
float Unit(std::uint32_t channel) {
    return static_cast<float>(channel) / 255.0F;
}

struct Vertex {
    std::array<float, 4> Position{};
    std::array<float, 2> Texel{};
};

// Texel index range of the source rectangle along one axis, limited to one texel around the
// sprite like the software surface's (everything beyond reads as transparent anyway).
struct Span {
    double First = 0.0;
    double Last = 0.0;
};

Span SourceSpan(std::int64_t start, std::int64_t length, std::int64_t spriteLength) {
    const double size = static_cast<double>(spriteLength);
    const double first = static_cast<double>(start);
    return {std::clamp(first, -1.0, size),
            std::clamp(first + static_cast<double>(length) - 1.0, -1.0, size)};
}

// The tiles (first, last) along one axis whose texels the span reaches; last < first for none.
std::pair<std::int64_t, std::int64_t> TileRange(const Span& span, std::int64_t spriteLength,
                                                int tileSize) {
    const auto first = static_cast<std::int64_t>(std::max(span.First, 0.0));
    const auto last = std::min(static_cast<std::int64_t>(span.Last), spriteLength - 1);
    if (span.Last < 0.0 || last < first) {
        return {0, -1};
    }
    return {first / tileSize, last / tileSize};
}

// Depth relative to corner 0 becomes the clip w: positive, and 1 everywhere for an affine
// mapping. Depths that cannot be inverted without changing sign give an affine mapping.
bool PerspectiveDepths(const views::GlyphQuad& corners) {
    const double w0 = corners[0].W;
    bool depthsUsable = std::isfinite(w0) && w0 != 0.0;
    bool depthsDiffer = false;
    for (const views::QuadCorner& corner : corners) {
        const double w = corner.W;
        depthsUsable = depthsUsable && std::isfinite(w) && w != 0.0 && (w > 0.0) == (w0 > 0.0);
        depthsDiffer = depthsDiffer || w != w0;
    }
    return depthsUsable && depthsDiffer;
}

// The quad as the triangles (c0, c1, c2) and (c0, c2, c3) in clip coordinates of a surface
// width × height units, each corner carrying its source texel position.
std::array<Vertex, 6> QuadTriangles(const views::GlyphQuad& corners, const document::Rect64& source,
                                    int width, int height) {
    const bool perspective = PerspectiveDepths(corners);
    const double w0 = corners[0].W;
    const double sx = static_cast<double>(source.X);
    const double sy = static_cast<double>(source.Y);
    const double sw = static_cast<double>(source.Width);
    const double sh = static_cast<double>(source.Height);
    const std::array<double, 4> cornerU{sx, sx + sw, sx + sw, sx};
    const std::array<double, 4> cornerV{sy, sy, sy + sh, sy + sh};
    std::array<Vertex, 4> quad;
    for (std::size_t i = 0; i < 4; ++i) {
        const double w = perspective ? static_cast<double>(corners[i].W) / w0 : 1.0;
        const double ndcX = static_cast<double>(corners[i].X) / width * 2.0 - 1.0;
        const double ndcY = 1.0 - static_cast<double>(corners[i].Y) / height * 2.0;
        quad[i].Position = {static_cast<float>(ndcX * w), static_cast<float>(ndcY * w), 0.0F,
                            static_cast<float>(w)};
        quad[i].Texel = {static_cast<float>(cornerU[i]), static_cast<float>(cornerV[i])};
    }
    return {quad[0], quad[1], quad[2], quad[0], quad[2], quad[3]};
}

} // namespace

OpenGlQuadSurface::OpenGlQuadSurface(int tileSizeLimit) {
    gl_.initializeOpenGLFunctions();
    GLint maxTextureSize = 0;
    gl_.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    tileSize_ = maxTextureSize > 0 ? maxTextureSize : 64; // 64 is every implementation's minimum
    if (tileSizeLimit > 0) {
        tileSize_ = std::min(tileSize_, tileSizeLimit);
    }
    valid_ = program_.addShaderFromSourceCode(QOpenGLShader::Vertex, VertexShader) &&
             program_.addShaderFromSourceCode(QOpenGLShader::Fragment, FragmentShader) &&
             program_.link();
    if (!valid_) {
        return;
    }
    positionAttribute_ = program_.attributeLocation("a_position");
    texelAttribute_ = program_.attributeLocation("a_texel");
    samplerUniform_ = program_.uniformLocation("u_sampler");
    tileUniform_ = program_.uniformLocation("u_tile");
    sourceUniform_ = program_.uniformLocation("u_source");
    spriteUniform_ = program_.uniformLocation("u_sprite");
    modeUniform_ = program_.uniformLocation("u_mode");
    tintUniform_ = program_.uniformLocation("u_tint");
    opacityUniform_ = program_.uniformLocation("u_opacity");
    rangeUniform_ = program_.uniformLocation("u_range");
    valid_ = positionAttribute_ >= 0 && texelAttribute_ >= 0;
}

OpenGlQuadSurface::~OpenGlQuadSurface() {
    if (QOpenGLContext::currentContext() != nullptr) {
        for (auto& [image, cached] : cache_) {
            DeleteTextures(cached);
        }
    }
}

std::size_t OpenGlQuadSurface::TextureCount() const {
    std::size_t count = 0;
    for (const auto& [image, cached] : cache_) {
        count += static_cast<std::size_t>(
            std::count_if(cached.Tiles.begin(), cached.Tiles.end(),
                          [](const Tile& tile) { return tile.Texture != 0; }));
    }
    return count;
}

void OpenGlQuadSurface::BeginFrame(int framebufferHeight, int width, int height, double scale) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    const int viewWidth = static_cast<int>(std::lround(width_ * scale));
    const int viewHeight = static_cast<int>(std::lround(height_ * scale));
    // Window coordinates grow upwards; the surface's top-left is the framebuffer's top-left.
    gl_.glViewport(0, framebufferHeight - viewHeight, viewWidth, viewHeight);
    gl_.glDisable(GL_DEPTH_TEST);
    gl_.glDisable(GL_STENCIL_TEST);
    gl_.glDisable(GL_SCISSOR_TEST);
    gl_.glDisable(GL_CULL_FACE);
    gl_.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl_.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl_.glActiveTexture(GL_TEXTURE0);
    ApplyBlendMode();
}

void OpenGlQuadSurface::EndFrame() {
    for (auto it = cache_.begin(); it != cache_.end();) {
        if (it->second.UsedThisFrame) {
            it->second.UsedThisFrame = false;
            ++it;
        } else {
            DeleteTextures(it->second);
            it = cache_.erase(it);
        }
    }
}

void OpenGlQuadSurface::Clear(std::uint32_t colour) {
    gl_.glClearColor(Unit(document::Red(colour)), Unit(document::Green(colour)),
                     Unit(document::Blue(colour)), 1.0F);
    gl_.glClear(GL_COLOR_BUFFER_BIT);
}

void OpenGlQuadSurface::SetBlendMode(views::BlendFactor sourceFactor,
                                     views::BlendFactor destinationFactor) {
    if (views::IsBlendFactor(sourceFactor) && views::IsBlendFactor(destinationFactor)) {
        sourceFactor_ = sourceFactor;
        destinationFactor_ = destinationFactor;
        ApplyBlendMode();
    }
}

void OpenGlQuadSurface::ApplyBlendMode() {
    gl_.glEnable(GL_BLEND);
    // Alpha always blends as source over destination, so an opaque target stays opaque.
    gl_.glBlendFuncSeparate(GlFactor(sourceFactor_), GlFactor(destinationFactor_), GL_ONE,
                            GL_ONE_MINUS_SRC_ALPHA);
}

void OpenGlQuadSurface::SetDistanceDecoding(float screenPxRange) {
    screenPxRange_ = screenPxRange > 0.0F ? screenPxRange : 0.0F;
}

OpenGlQuadSurface::CachedSprite& OpenGlQuadSurface::Cached(const document::Sprite& sprite) {
    auto [it, inserted] = cache_.try_emplace(sprite.get());
    CachedSprite& cached = it->second;
    if (inserted) {
        cached.Sprite = sprite;
        cached.Columns = (sprite->Width + tileSize_ - 1) / tileSize_;
        cached.Rows = (sprite->Height + tileSize_ - 1) / tileSize_;
        cached.Tiles.resize(static_cast<std::size_t>(cached.Columns * cached.Rows));
    }
    cached.UsedThisFrame = true;
    return cached;
}

unsigned int OpenGlQuadSurface::TileTexture(CachedSprite& cached, std::int64_t column,
                                            std::int64_t row) {
    Tile& tile = cached.Tiles[static_cast<std::size_t>(row * cached.Columns + column)];
    if (tile.Texture != 0 || tile.Failed) {
        return tile.Texture;
    }
    const document::Image& image = *cached.Sprite;
    const std::int64_t left = column * tileSize_;
    const std::int64_t top = row * tileSize_;
    const std::int64_t width = std::min<std::int64_t>(tileSize_, image.Width - left);
    const std::int64_t height = std::min<std::int64_t>(tileSize_, image.Height - top);
    const std::uint32_t* pixels =
        image.Pixels.data() + static_cast<std::ptrdiff_t>(top * image.Width + left);
    if (width != image.Width) { // rows of a narrower tile are not contiguous; GL ES 2 cannot skip
        tilePixels_.Width = width;
        tilePixels_.Height = height;
        tilePixels_.Pixels.resize(static_cast<std::size_t>(width * height));
        document::CopyRect(image, {left, top, width, height}, tilePixels_, 0, 0);
        pixels = tilePixels_.Pixels.data();
    }
    while (gl_.glGetError() != GL_NO_ERROR) {
    }
    GLuint texture = 0;
    gl_.glGenTextures(1, &texture);
    gl_.glBindTexture(GL_TEXTURE_2D, texture);
    gl_.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl_.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl_.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl_.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl_.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(width),
                     static_cast<GLsizei>(height), 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    if (tilePixels_.Pixels.size() > static_cast<std::size_t>(tileSize_) * 64) {
        tilePixels_ = {}; // do not keep a large scratch buffer between uploads
    }
    if (gl_.glGetError() != GL_NO_ERROR) { // out of memory, typically
        gl_.glDeleteTextures(1, &texture);
        tile.Failed = true;
        return 0;
    }
    ++uploads_;
    tile.Texture = texture;
    return texture;
}

void OpenGlQuadSurface::DeleteTextures(CachedSprite& cached) {
    for (Tile& tile : cached.Tiles) {
        if (tile.Texture != 0) {
            gl_.glDeleteTextures(1, &tile.Texture);
            tile.Texture = 0;
        }
    }
}

void OpenGlQuadSurface::SetColourUniforms(std::int64_t opacity, std::int64_t tint) {
    const bool tinted = tint != views::NoTint;
    const auto tintColour = static_cast<std::uint32_t>(tint);
    program_.setUniformValue(tintUniform_, tinted ? Unit(document::Red(tintColour)) : 0.0F,
                             tinted ? Unit(document::Green(tintColour)) : 0.0F,
                             tinted ? Unit(document::Blue(tintColour)) : 0.0F,
                             tinted ? 1.0F : 0.0F);
    program_.setUniformValue(
        opacityUniform_, static_cast<float>(std::clamp<std::int64_t>(opacity, 0, 255)) / 255.0F);
}

void OpenGlQuadSurface::DrawTiles(const document::Sprite& sprite,
                                  std::pair<std::int64_t, std::int64_t> columns,
                                  std::pair<std::int64_t, std::int64_t> rows) {
    CachedSprite& cached = Cached(sprite);
    program_.setUniformValue(modeUniform_, 0.0F);
    for (std::int64_t row = rows.first; row <= rows.second; ++row) {
        for (std::int64_t column = columns.first; column <= columns.second; ++column) {
            const GLuint texture = TileTexture(cached, column, row);
            if (texture == 0) {
                continue;
            }
            gl_.glBindTexture(GL_TEXTURE_2D, texture);
            const std::int64_t left = column * tileSize_;
            const std::int64_t top = row * tileSize_;
            program_.setUniformValue(
                tileUniform_, static_cast<float>(left), static_cast<float>(top),
                static_cast<float>(std::min<std::int64_t>(tileSize_, sprite->Width - left)),
                static_cast<float>(std::min<std::int64_t>(tileSize_, sprite->Height - top)));
            gl_.glDrawArrays(GL_TRIANGLES, 0, 6);
        }
    }
}

void OpenGlQuadSurface::DrawQuad(const document::Sprite& sprite, const document::Rect64& source,
                                 const views::GlyphQuad& corners, std::int64_t opacity,
                                 std::int64_t tint) {
    if (!valid_ || !sprite || source.Width <= 0 || source.Height <= 0 || width_ <= 0 ||
        height_ <= 0) {
        return;
    }
    for (const views::QuadCorner& corner : corners) {
        if (!std::isfinite(corner.X) || !std::isfinite(corner.Y)) {
            return;
        }
    }
    const std::array<Vertex, 6> vertices = QuadTriangles(corners, source, width_, height_);
    const Span spanU = SourceSpan(source.X, source.Width, sprite->Width);
    const Span spanV = SourceSpan(source.Y, source.Height, sprite->Height);

    program_.bind();
    program_.setUniformValue(samplerUniform_, 0);
    program_.setUniformValue(sourceUniform_, static_cast<float>(spanU.First),
                             static_cast<float>(spanV.First), static_cast<float>(spanU.Last),
                             static_cast<float>(spanV.Last));
    program_.setUniformValue(spriteUniform_, static_cast<float>(sprite->Width),
                             static_cast<float>(sprite->Height));
    SetColourUniforms(opacity, tint);
    program_.setUniformValue(rangeUniform_, screenPxRange_);
    program_.enableAttributeArray(positionAttribute_);
    program_.enableAttributeArray(texelAttribute_);
    gl_.glVertexAttribPointer(static_cast<GLuint>(positionAttribute_), 4, GL_FLOAT, GL_FALSE,
                              sizeof(Vertex), vertices[0].Position.data());
    gl_.glVertexAttribPointer(static_cast<GLuint>(texelAttribute_), 2, GL_FLOAT, GL_FALSE,
                              sizeof(Vertex), vertices[0].Texel.data());

    DrawTiles(sprite, TileRange(spanU, sprite->Width, tileSize_),
              TileRange(spanV, sprite->Height, tileSize_));
    const bool reachesOutside = spanU.First < 0.0 || spanV.First < 0.0 ||
                                spanU.Last >= static_cast<double>(sprite->Width) ||
                                spanV.Last >= static_cast<double>(sprite->Height);
    if (reachesOutside) {
        program_.setUniformValue(modeUniform_, 1.0F);
        gl_.glDrawArrays(GL_TRIANGLES, 0, 6);
    }
    program_.disableAttributeArray(positionAttribute_);
    program_.disableAttributeArray(texelAttribute_);
}

} // namespace glyfora::app
